#!/bin/sh
# Runs convert.sh's own read_settings on each file Writebat wrote (N.sh in
# DUMP_DIR) and compares the settings it reads with N.expected, the reading
# the writebat fuzzer checked. Usage: check-script-reading.sh CONVERT_SH DUMP_DIR
set -u
script=$1
dump=$2
# The reading part of the shipped script: everything before the call of
# read_own_settings that reads its own settings block.
reading=$dump/reading.sh
sed '/^read_own_settings <</,$d' "$script" >"$reading"
grep -q '^read_settings()' "$reading" || {
    echo "read_settings not found in $script"
    exit 1
}
checked=0
failed=0
for written in "$dump"/*.sh; do
    [ "$written" = "$reading" ] && continue
    expected=${written%.sh}.expected
    # read_settings reads the written file ($0) on its standard input, as
    # the script reads its own block from the here-document.
    /bin/sh -c '. "$1" && read_settings <"$0" && [ "$settings_read" = yes ] &&
        printf "%s=%s\n" redir "$redir" progpath "$progpath" cmdline "$cmdline" \
            cmdline2 "$cmdline2" code "$code" delegate_path "$delegate_path" gs_lib "$gs_lib" \
            htrunpath "$htrunpath" L2HMODULE "$L2HMODULE" init "$init" filepath "$filepath" \
            docdir "$docdir" standins "$standins" prepared "$prepared"' \
        "$written" "$reading" >"$written.read" 2>&1
    if ! cmp -s "$expected" "$written.read"; then
        echo "convert.sh reads $written differently:"
        diff "$expected" "$written.read"
        failed=$((failed + 1))
    fi
    checked=$((checked + 1))
done
echo "convert.sh read $checked written files as Writebat meant: $((checked - failed)) passed, $failed failed"
[ "$checked" -gt 0 ] && [ "$failed" -eq 0 ]
