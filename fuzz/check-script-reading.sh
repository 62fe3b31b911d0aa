#!/bin/sh
# Runs convert.sh's own read_settings on each file Writebat wrote (N.sh in
# DUMP_DIR) and compares the settings it reads with N.expected, the reading
# the writebat fuzzer checked. Usage: check-script-reading.sh CONVERT_SH DUMP_DIR
set -u
script=$1
dump=$2
# The reading part of the shipped script: everything before its call of main.
reading=$dump/reading.sh
sed '/^main "\$@"$/,$d' "$script" >"$reading"
grep -q '^read_settings()' "$reading" || {
    echo "read_settings not found in $script"
    exit 1
}
checked=0
failed=0
for written in "$dump"/*.sh; do
    [ "$written" = "$reading" ] && continue
    expected=${written%.sh}.expected
    # $0 is the file read_settings reads, as when the script runs.
    /bin/sh -c '. "$1" && read_settings &&
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
