# What `cmake --install` puts in place refers to itself only: no path of the
# build or source tree, RUNPATHs relative to the binary, every needed library
# found, and the program's files where the program looks for them.
. "$(dirname "$0")/common.sh"

have readelf || skip "readelf (binutils) is not installed"

root=$work/root
install_tree "$root"
build_abs=$(cd "$build_dir" && pwd -P)
source_abs=$(cd "$source_dir" && pwd -P)

elf_count=0
find "$root" -type f >"$work/files"
while IFS= read -r file; do
    checked=$file
    if is_elf "$file"; then
        elf_count=$((elf_count + 1))
        # Debugging information names the sources by nature; what the
        # program itself holds must not.
        strip --strip-debug -o "$work/stripped" "$file"
        checked=$work/stripped
        readelf -d "$file" | sed -n 's/.*(R\(UN\)\{0,1\}PATH).*\[\(.*\)\]/\2/p' | tr ':' '\n' |
            while IFS= read -r entry; do
                case $entry in
                '$ORIGIN' | '$ORIGIN/'*) ;;
                *) fail "${file#"$root"} has the search path $entry" ;;
                esac
            done
        if ldd "$file" >"$work/ldd" 2>&1 && grep -q "not found" "$work/ldd"; then
            cat "$work/ldd" >&2
            fail "${file#"$root"} needs a library that is not found"
        fi
    fi
    for tree in "$build_abs" "$source_abs"; do
        if grep -q -F "$tree" "$checked"; then
            fail "${file#"$root"} refers to $tree"
        fi
    done
done <"$work/files"
[ "$elf_count" -ge 2 ] || fail "expected the executable and the web-view module, found $elf_count binaries"

# The installed program looks for these relative to its own directory.
bindir=$root/usr/bin
[ -f "$bindir/$MORVANE_DATA_RELATIVE_DIR/Morvane.ini" ] ||
    fail "no Morvane.ini in $MORVANE_DATA_RELATIVE_DIR from the installed executable"
[ -f "$bindir/$MORVANE_DATA_RELATIVE_DIR/convert.sh" ] ||
    fail "no convert.sh in $MORVANE_DATA_RELATIVE_DIR from the installed executable"
ls "$bindir/$MORVANE_MODULE_RELATIVE_DIR"/morvane_webview* >/dev/null 2>&1 ||
    fail "no web-view module in $MORVANE_MODULE_RELATIVE_DIR from the installed executable"

# `--help` needs no program directory and no display.
status=0
env -u DISPLAY -u WAYLAND_DISPLAY HOME="$work/home" XDG_CONFIG_HOME="$work/config" \
    "$bindir/morvane" --help >"$work/help" 2>&1 || status=$?
[ "$status" -eq 0 ] || fail "morvane --help exited with $status"
grep -q -- "--convert=ROUTE" "$work/help" || fail "morvane --help does not show --convert"
[ ! -e "$work/config/morvane" ] || fail "morvane --help created a program directory"
echo "PASS ($elf_count binaries checked)"
