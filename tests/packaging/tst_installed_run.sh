# The installed program, run by a user who has never run it: it fills
# $XDG_CONFIG_HOME/morvane from the installed defaults, converts the example
# document, and keeps the user's edits on later starts.
. "$(dirname "$0")/common.sh"

have hevea || skip "hevea is not installed"

root=$work/root
install_tree "$root"
share=$root/usr/share/morvane
[ -f "$share/Morvane.ini" ] || fail "no usr/share/morvane/Morvane.ini installed"
[ -f "$share/convert.sh" ] || fail "no usr/share/morvane/convert.sh installed"
# Only these installed defaults hold this file: finding it in the user's
# directory shows where the program took its defaults from.
echo "installed defaults of this test" >"$share/defaults-marker.txt"

user_home=$work/home
config_home=$work/config
mkdir -p "$user_home" "$config_home" "$work/doc"
cp -R "$source_dir/examples/sample/." "$work/doc/"
program_dir=$config_home/morvane

run_installed "$root" "$user_home" "$config_home" "$work/doc" --convert=hevea paper.tex
# A first run that resolves labels reports it (1); it must not stop (2).
[ "$status" -le 1 ] || { cat "$work/err" >&2; fail "first conversion exited with $status"; }

[ -d "$program_dir" ] || fail "$program_dir was not created"
[ ! -e "$user_home/.config/morvane" ] || fail "XDG_CONFIG_HOME was not honoured"
for name in Morvane.ini convert.sh defaults-marker.txt; do
    [ -f "$program_dir/$name" ] || fail "$name was not copied into $program_dir"
done
for name in Morvane.ini defaults-marker.txt; do
    cmp -s "$share/$name" "$program_dir/$name" || fail "$program_dir/$name differs from the installed one"
done
# Each conversion writes its settings into the block between the marker
# line and the block's end line; all the rest stays as installed.
marker='/^REM Morvane will be writing text here automatically$/'
sed "${marker}q" "$share/convert.sh" >"$work/installed-head"
sed "${marker}q" "$program_dir/convert.sh" | cmp -s - "$work/installed-head" ||
    fail "$program_dir/convert.sh does not start as the installed convert.sh"
sed -n '/^REM \*\* /,$p' "$share/convert.sh" >"$work/installed-tail"
sed -n '/^REM \*\* /,$p' "$program_dir/convert.sh" | cmp -s - "$work/installed-tail" ||
    fail "$program_dir/convert.sh does not end as the installed convert.sh"
[ -f "$work/doc/paper.html" ] || fail "hevea produced no paper.html"
grep -q "Converting" "$work/doc/paper.html" || fail "paper.html does not hold the document's title"

# A user's edit survives the next start, which still seeds what is missing.
printf '; kept by the user\n' >>"$program_dir/Morvane.ini"
cp "$program_dir/Morvane.ini" "$work/edited.ini"
rm "$program_dir/defaults-marker.txt"
run_installed "$root" "$user_home" "$config_home" "$work/doc" --convert=hevea paper.tex
[ "$status" -eq 0 ] || { cat "$work/err" >&2; fail "second conversion exited with $status"; }
cmp -s "$work/edited.ini" "$program_dir/Morvane.ini" || fail "the edited Morvane.ini was overwritten"
[ -f "$program_dir/defaults-marker.txt" ] || fail "a file missing from $program_dir was not seeded again"
echo "PASS"
