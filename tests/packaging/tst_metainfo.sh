# The installed AppStream metadata names the installed desktop entry, this
# version, and the document types of the desktop entry, and validates.
. "$(dirname "$0")/common.sh"

root=$work/root
install_tree "$root"
share=$root/usr/share
metainfo=$share/metainfo/$MORVANE_APP_ID.metainfo.xml
entry=$share/applications/$MORVANE_APP_ID.desktop
[ -f "$metainfo" ] || fail "no share/metainfo/$MORVANE_APP_ID.metainfo.xml installed"

# values TAG: the text of every <TAG ...>text</TAG>, one a line.
values() {
    sed -n 's/.*<'"$1"'\( [^>]*\)\{0,1\}>\([^<]*\)<\/'"$1"'>.*/\2/p' "$metainfo"
}

[ "$(values id)" = "$MORVANE_APP_ID" ] || fail "the id is \"$(values id)\""
[ "$(values metadata_license)" = CC0-1.0 ] || fail "metadata_license is not CC0-1.0"
[ -n "$(values project_license)" ] || fail "no project_license"
launchable=$(values launchable)
[ "$launchable" = "$MORVANE_APP_ID.desktop" ] || fail "launchable is \"$launchable\""
[ -f "$share/applications/$launchable" ] || fail "the launchable $launchable is not installed"
values binary | grep -q -x morvane || fail "does not provide the binary morvane"
[ -x "$root/usr/bin/morvane" ] || fail "the provided binary is not installed"
grep -q '<release version="'"$MORVANE_VERSION"'" date="[0-9-]*"' "$metainfo" ||
    fail "no release entry for version $MORVANE_VERSION"
grep -q '<content_rating type="oars-' "$metainfo" || fail "no content rating"

# The desktop entry and the metadata announce the same document types.
sed -n 's/^MimeType=//p' "$entry" | tr ';' '\n' | sed '/^$/d' | sort >"$work/desktop-types"
values mediatype | sort >"$work/metainfo-types"
[ -s "$work/desktop-types" ] || fail "the desktop entry has no MimeType"
cmp -s "$work/desktop-types" "$work/metainfo-types" ||
    fail "MimeType of the desktop entry ($(tr '\n' ' ' <"$work/desktop-types")) and mediatypes ($(tr '\n' ' ' <"$work/metainfo-types")) differ"

have appstreamcli || skip "appstreamcli (appstream) is not installed"
if ! appstreamcli validate --no-net "$metainfo" >"$work/validate" 2>&1; then
    cat "$work/validate" >&2
    fail "appstreamcli validate"
fi
# Only pedantic remarks (P:) are acceptable, not warnings (W:) or infos (I:).
if grep -q '^[EWI]:' "$work/validate"; then
    cat "$work/validate" >&2
    fail "appstreamcli validate has remarks"
fi
echo "PASS"
