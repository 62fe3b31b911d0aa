# The installed manual page renders without warnings and documents this
# version, every route the installed program knows and its exit statuses.
. "$(dirname "$0")/common.sh"

root=$work/root
install_tree "$root"
page=$root/usr/share/man/man1/morvane.1.gz
[ -f "$page" ] || fail "no share/man/man1/morvane.1.gz installed"
gzip -dc "$page" >"$work/morvane.1" || fail "morvane.1.gz is not gzipped"

grep -q '^\.TH MORVANE 1 .*"Morvane '"$MORVANE_VERSION"'"' "$work/morvane.1" ||
    fail "the .TH line does not give version $MORVANE_VERSION"
for section in NAME SYNOPSIS DESCRIPTION ROUTES "EXIT STATUS" FILES ENVIRONMENT EXAMPLES; do
    grep -q "^\.SH \"\{0,1\}$section\"\{0,1\}\$" "$work/morvane.1" || fail "no $section section"
done

# section NAME: the lines of section NAME.
section() {
    sed -n '/^\.SH "\{0,1\}'"$1"'"\{0,1\}$/,/^\.SH/p' "$work/morvane.1"
}
"$root/usr/bin/morvane" --help >"$work/help" 2>&1 || fail "morvane --help failed"
routes=$(sed -n 's/.*ROUTE is one of: \(.*\)\.$/\1/p' "$work/help" | tr -d ',')
[ -n "$routes" ] || fail "morvane --help names no routes"
for route in $routes; do
    section ROUTES | grep -q -x "\.B $route" || fail "the route $route is not in ROUTES"
done
for code in 0 1 2; do
    section "EXIT STATUS" | grep -q -x "\.B $code" || fail "exit status $code is not documented"
done
for name in Morvane.ini convert.sh FileList.txt; do
    section FILES | grep -q "^\.I $name\$" || fail "$name is not in FILES"
done
for variable in MORVANE_HOME XDG_CONFIG_HOME; do
    section ENVIRONMENT | grep -q -x "\.B $variable" || fail "$variable is not in ENVIRONMENT"
done

checked=""
if have groff; then
    groff -man -ww -z "$work/morvane.1" >"$work/groff" 2>&1 || true
    [ ! -s "$work/groff" ] || { cat "$work/groff" >&2; fail "groff warns"; }
    checked="$checked groff"
fi
if have mandoc; then
    mandoc -T lint -W warning "$work/morvane.1" >"$work/mandoc" 2>&1 || true
    [ ! -s "$work/mandoc" ] || { cat "$work/mandoc" >&2; fail "mandoc warns"; }
    checked="$checked mandoc"
fi
if have man; then
    MANWIDTH=80 man --warnings -l "$page" >"$work/rendered" 2>"$work/man" || fail "man -l failed"
    [ ! -s "$work/man" ] || { cat "$work/man" >&2; fail "man -l warns"; }
    grep -q "EXIT STATUS" "$work/rendered" || fail "man -l rendered nothing"
    checked="$checked man"
fi
[ -n "$checked" ] || skip "neither groff, mandoc nor man is installed"
echo "PASS (checked with$checked)"
