#!/bin/sh
# Installs what is missing, then configures and builds Morvane in ./build:
# every target, or only the targets named as arguments.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
sh "$top/scripts/install-deps.sh"
cmake -S "$top" -B "$top/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
if [ $# -gt 0 ]; then
    cmake --build "$top/build" --target "$@"
else
    cmake --build "$top/build"
fi
