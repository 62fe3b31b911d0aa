#!/bin/sh
# Installs what Morvane needs to build, run and test on Debian 12, skipping
# whatever is already installed. Runs as root, or through sudo otherwise.
set -eu

packages="
cmake ninja-build g++ pkg-config clang-format
qt6-base-dev qt6-base-dev-tools qt6-webengine-dev qt6-tools-dev-tools
libgl-dev libbenchmark-dev libcups2-dev
hevea tth tth-common
texlive-binaries texlive-plain-generic texlive-extra-utils texlive-luatex texlive-xetex
texlive-latex-base texlive-latex-recommended texinfo dvipng
latex2html ghostscript netpbm imagemagick pandoc unzip parallel poppler-utils
latexml
libjs-mathjax
xvfb xauth openbox ccache
clang libclang-rt-14-dev
desktop-file-utils appstream librsvg2-bin dpkg-dev binutils groff-base man-db mandoc
"

missing=""
for p in $packages; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing="$missing $p"
    fi
done

if [ -z "$missing" ]; then
    echo "All build, run and test dependencies are installed."
    exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
    as_root=""
else
    as_root="sudo"
fi

echo "Installing:$missing"
$as_root apt-get update -qq
# shellcheck disable=SC2086
DEBIAN_FRONTEND=noninteractive $as_root apt-get install -y -qq --no-install-recommends $missing
