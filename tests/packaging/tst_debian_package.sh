# `cpack -G DEB` makes a package of everything installed, with the library
# dependencies found by dpkg-shlibdeps, the converters as recommendations,
# and no maintainer script that could touch a user's files. The package is
# only looked at and unpacked here, never installed.
. "$(dirname "$0")/common.sh"

for tool in dpkg-deb dpkg-shlibdeps; do
    have "$tool" || skip "$tool is not installed"
done

if ! "$CPACK" --config "$build_dir/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log" >&2
    fail "cpack -G DEB failed"
fi
set -- "$work/out"/morvane_"$MORVANE_VERSION"_*.deb
[ $# -eq 1 ] && [ -f "$1" ] || fail "cpack made no morvane_${MORVANE_VERSION}_*.deb"
deb=$1

field() {
    dpkg-deb --field "$deb" "$1"
}
[ "$(field Package)" = morvane ] || fail "Package is \"$(field Package)\""
[ "$(field Version)" = "$MORVANE_VERSION" ] || fail "Version is \"$(field Version)\""
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
[ -n "$(field Section)" ] || fail "no Section"
field Description | grep -q "TeX" || fail "the Description does not say what Morvane is"

# list_has LIST NAME: NAME is one of the packages of a Depends-like field.
list_has() {
    echo "$1" | tr ',' '\n' | sed 's/^ *//; s/ .*//' | grep -q -x "$2"
}
depends=$(field Depends)
for package in libqt6core6 libqt6widgets6 libqt6webenginewidgets6 qt6-qpa-plugins; do
    list_has "$depends" "$package" || fail "Depends lacks $package: $depends"
done
recommends=$(field Recommends)
for package in hevea tth tth-common texlive-plain-generic latex2html texinfo dvipng texlive-latex-base libjs-mathjax; do
    list_has "$recommends" "$package" || fail "Recommends lacks $package: $recommends"
done

dpkg-deb --contents "$deb" | awk '{ print $NF }' | sed 's|^\./||' >"$work/contents"
for path in usr/bin/morvane \
    usr/share/applications/"$MORVANE_APP_ID".desktop \
    usr/share/metainfo/"$MORVANE_APP_ID".metainfo.xml \
    usr/share/man/man1/morvane.1.gz \
    usr/share/icons/hicolor/scalable/apps/"$MORVANE_APP_ID".svg \
    usr/share/morvane/Morvane.ini \
    usr/share/morvane/convert.sh \
    usr/share/morvane/readme.txt; do
    grep -q -x "$path" "$work/contents" || fail "the package lacks /$path"
done
for size in $MORVANE_ICON_SIZES; do
    grep -q -x "usr/share/icons/hicolor/${size}x${size}/apps/$MORVANE_APP_ID.png" "$work/contents" ||
        fail "the package lacks the ${size}x${size} icon"
done
grep -q "morvane_webview" "$work/contents" || fail "the package lacks the web-view module"

# Removing the package leaves the users' program directories alone: no
# maintainer script mentions a home directory.
dpkg-deb --control "$deb" "$work/control"
for script in preinst postinst prerm postrm; do
    if [ -f "$work/control/$script" ] && grep -q -E 'HOME|\.config|/home|~' "$work/control/$script"; then
        cat "$work/control/$script" >&2
        fail "$script touches home directories"
    fi
done

# The packaged files are stripped and know nothing of this build.
dpkg-deb --extract "$deb" "$work/root"
build_abs=$(cd "$build_dir" && pwd -P)
if grep -r -l -F "$build_abs" "$work/root" >"$work/refs"; then
    cat "$work/refs" >&2
    fail "packaged files refer to $build_abs"
fi
status=0
"$work/root/usr/bin/morvane" --help >"$work/help" 2>&1 || status=$?
[ "$status" -eq 0 ] || { cat "$work/help" >&2; fail "the packaged morvane --help exited with $status"; }
echo "PASS ($(basename "$deb"))"
