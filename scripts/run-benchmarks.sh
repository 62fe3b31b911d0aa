#!/bin/sh
# Builds and runs the benchmarks that hold Morvane to its cost goals, and
# prints each figure beside its goal:
#   - a conversion's fixed cost, route by route on LaTeX's sample2e.tex
#     (bench_routes: TtH at most 3.5 times tth, HeVeA at most 1.10 times
#     hevea, every route at most 8 ms above its converter);
#   - the window's start against a bare QMainWindow (bench_startup: at most
#     1.5 times);
#   - the front end's processor time while a converter runs, in the
#     window's single and multiple mode and in batch mode (bench_idlewait:
#     under 1 % of a core; MORVANE_IDLE_SECONDS sets the converter's length,
#     60 by default);
#   - conversions side by side (bench_parallel: twenty documents with
#     --jobs=2 at least 1.8 times as fast as one after another; a comparison
#     of the routes at most their summed time over the jobs, plus 10 %).
# Usage: sh scripts/run-benchmarks.sh [BUILD_DIR]   (default: build)
# Run it on an idle machine: other work on the cores shows in every figure.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
benches="bench_routes bench_startup bench_idlewait bench_parallel"
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORVANE_BENCHMARKS=ON
else
    cmake -S "$top" -B "$build" -DMORVANE_BENCHMARKS=ON >/dev/null
fi
# shellcheck disable=SC2086  # a list of targets
cmake --build "$build" -j2 --target morvane $benches
echo "Load before the run: $(cut -d' ' -f1-3 /proc/loadavg)"
for bench in $benches; do
    echo
    echo "== $bench"
    # The counters and the goal of each figure are on one line per benchmark.
    "$build/bin/$bench" --benchmark_counters_tabular=false 2>/dev/null | grep '^BM_'
done
echo
echo "Load after the run: $(cut -d' ' -f1-3 /proc/loadavg)"
