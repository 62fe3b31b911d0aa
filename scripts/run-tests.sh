#!/bin/sh
# Installs, builds and runs Morvane's whole test suite headless.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
sh "$top/scripts/build.sh"
cd "$top/build"
# Tests run with QT_QPA_PLATFORM=offscreen; the few that need a real X server
# (web views) get one from xvfb-run.
xvfb-run -a ctest --output-on-failure --timeout 900 -j 2
