#!/bin/sh
# Builds one fuzz target (with clang++ and libFuzzer) and runs it over its
# seed corpus, then for a few seconds of fuzzing. The fuzz.* tests call it as
#
#     sh run-fuzzer.sh TARGET SECONDS SOURCE_DIR FUZZ_BUILD_DIR CORE_LIBRARY CLANGXX
#
# and take exit status 77 as "skipped": without clang++ (or its fuzzer
# runtime) there is nothing to run. For a longer run by hand:
#
#     build/fuzz-build/TARGET -max_total_time=300 NEW_CORPUS_DIR fuzz/corpus/TARGET
set -u
target=$1
seconds=$2
source_dir=$3
build_dir=$4
core_library=$5
clangxx=${6:-}

if [ -z "$clangxx" ] || ! command -v "$clangxx" >/dev/null 2>&1; then
    echo "clang++ is not installed: the fuzz targets are skipped (scripts/install-deps.sh installs it)."
    exit 77
fi

mkdir -p "$build_dir"
# A fuzzer that links proves the runtime (libclang-rt) is there.
probe=$build_dir/probe
if [ ! -x "$probe" ]; then
    printf '#include <cstdint>\n#include <cstddef>\nextern "C" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) { return 0; }\n' >"$probe.cpp"
    if ! "$clangxx" -fsanitize=fuzzer,address,undefined "$probe.cpp" -o "$probe" 2>"$probe.log"; then
        cat "$probe.log"
        echo "clang++ cannot link a libFuzzer target (is libclang-rt-dev installed?): skipped."
        exit 77
    fi
fi

if [ ! -f "$build_dir/build.ninja" ]; then
    cmake -S "$source_dir/fuzz" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_COMPILER="$clangxx" -DMORVANE_CORE_LIBRARY="$core_library" || exit 1
fi
cmake --build "$build_dir" --target "$target" || exit 1

seeds=$source_dir/fuzz/corpus/$target
work=$build_dir/run-$target
rm -rf "$work"
mkdir -p "$work/corpus" "$work/artifacts"
fuzzer=$build_dir/$target
options="-artifact_prefix=$work/artifacts/ -timeout=20 -rss_limit_mb=2048 -max_len=16384"

# Every seed once: each is a case that must hold.
echo "== $target: the seed corpus"
# shellcheck disable=SC2086
"$fuzzer" $options "$seeds"/* || exit 1

if [ "$target" = writebat_fuzzer ]; then
    # The real convert.sh reads back what the seeds made Writebat write.
    rm -rf "$work/dump"
    mkdir -p "$work/dump"
    # shellcheck disable=SC2086
    MORVANE_FUZZ_DUMP=$work/dump "$fuzzer" $options "$seeds"/* >/dev/null 2>&1 || exit 1
    sh "$source_dir/fuzz/check-script-reading.sh" "$source_dir/data/convert.sh" "$work/dump" || exit 1
fi

echo "== $target: fuzzing for $seconds seconds"
# shellcheck disable=SC2086
"$fuzzer" $options -seed=1 -max_total_time="$seconds" -print_final_stats=1 \
    "$work/corpus" "$seeds" || {
    echo "Inputs that broke an invariant are kept in $work/artifacts; copy each into"
    echo "fuzz/corpus/$target once the fault is fixed."
    exit 1
}
