# The installed desktop entry starts the installed program with the
# installed icon, and validates.
. "$(dirname "$0")/common.sh"

root=$work/root
install_tree "$root"
share=$root/usr/share
entry=$share/applications/$MORVANE_APP_ID.desktop
[ -f "$entry" ] || fail "no share/applications/$MORVANE_APP_ID.desktop installed"

# key KEY: the value of KEY in the [Desktop Entry] group.
key() {
    sed -n '/^\[Desktop Entry\]/,/^\[/s/^'"$1"'=//p' "$entry" | head -n 1
}

[ "$(key Type)" = Application ] || fail "Type is not Application"
[ "$(key Name)" = Morvane ] || fail "Name is not Morvane"
[ "$(key Terminal)" = false ] || fail "Terminal is not false"
[ "$(key Exec)" = "morvane %f" ] || fail "Exec is \"$(key Exec)\""
[ -x "$root/usr/bin/$(key Exec | cut -d ' ' -f 1)" ] || fail "Exec names no installed program"
for type in text/x-tex text/x-latex; do
    key MimeType | tr ';' '\n' | grep -q -x "$type" || fail "MimeType lacks $type"
done

icon=$(key Icon)
[ "$icon" = "$MORVANE_APP_ID" ] || fail "Icon is \"$icon\", not $MORVANE_APP_ID"
svg=$share/icons/hicolor/scalable/apps/$icon.svg
[ -f "$svg" ] || fail "no scalable icon $icon.svg installed"
grep -q "<svg" "$svg" || fail "$icon.svg is not an SVG"
# png_size FILE: "WIDTHxHEIGHT" from the PNG header.
png_size() {
    set -- $(od -An -tu1 -j 16 -N 8 "$1")
    echo "$(($1 * 16777216 + $2 * 65536 + $3 * 256 + $4))x$(($5 * 16777216 + $6 * 65536 + $7 * 256 + $8))"
}
for size in $MORVANE_ICON_SIZES; do
    png=$share/icons/hicolor/${size}x${size}/apps/$icon.png
    [ -f "$png" ] || fail "no ${size}x${size} icon installed"
    [ "$(head -c 4 "$png" | od -An -c | tr -d ' ')" = '211PNG' ] || fail "$png is not a PNG"
    [ "$(png_size "$png")" = "${size}x${size}" ] || fail "$png is $(png_size "$png")"
done

have desktop-file-validate || skip "desktop-file-validate (desktop-file-utils) is not installed"
desktop-file-validate "$entry" >"$work/validate" 2>&1 || { cat "$work/validate" >&2; fail "desktop-file-validate"; }
if [ -s "$work/validate" ]; then
    cat "$work/validate" >&2
    fail "desktop-file-validate has remarks"
fi
echo "PASS"
