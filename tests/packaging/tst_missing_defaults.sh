# Without the installed defaults the program says it cannot find Morvane.ini
# and stops with status 2; it neither crashes nor converts.
. "$(dirname "$0")/common.sh"

root=$work/root
install_tree "$root"
share=$root/usr/share/morvane
mkdir -p "$work/doc"
cp "$source_dir/examples/sample/paper.tex" "$work/doc/"

# expect_no_ini CASE: the last run stopped because Morvane.ini is missing.
expect_no_ini() {
    [ "$status" -eq 2 ] || { cat "$work/err" >&2; fail "$1: exited with $status, not 2"; }
    grep -q "Morvane.ini" "$work/err" || { cat "$work/err" >&2; fail "$1: no word of Morvane.ini"; }
    [ ! -e "$work/doc/paper.html" ] || fail "$1: converted all the same"
}

# The defaults directory without Morvane.ini.
rm "$share/Morvane.ini"
run_installed "$root" "$work/home1" "$work/config1" "$work/doc" --convert=hevea paper.tex
expect_no_ini "defaults without Morvane.ini"
[ -f "$work/config1/morvane/convert.sh" ] || fail "what the defaults do hold was not copied"

# No defaults directory at all: the program falls back on the configured
# prefix, so this case only shows something when nothing is installed there.
rm -r "$share"
if [ -e "$MORVANE_CONFIGURED_DATA_DIR" ]; then
    echo "note: $MORVANE_CONFIGURED_DATA_DIR exists; the no-defaults case is not checked"
else
    run_installed "$root" "$work/home2" "$work/config2" "$work/doc" --convert=hevea paper.tex
    expect_no_ini "no defaults directory"
fi

# Defaults that cannot be read (root reads everything, so only as a user).
if [ "$(id -u)" -ne 0 ]; then
    install_tree "$work/root3"
    chmod 000 "$work/root3/usr/share/morvane"
    run_installed "$work/root3" "$work/home3" "$work/config3" "$work/doc" --convert=hevea paper.tex
    chmod 755 "$work/root3/usr/share/morvane"
    expect_no_ini "unreadable defaults"
fi
echo "PASS"
