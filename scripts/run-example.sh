#!/bin/sh
# Installs, builds and starts Morvane on the bundled example document.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
# The program only (its web-view module comes with it); the tests are not needed.
sh "$top/scripts/build.sh" morvane
example="$top/examples/sample/paper.tex"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found: starting Morvane on a virtual X server (xvfb-run)."
    exec xvfb-run -a "$top/build/bin/morvane" "$example"
fi
exec "$top/build/bin/morvane" "$example"
