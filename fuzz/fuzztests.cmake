# The fuzz.* tests: each builds one fuzz target of fuzz/ with clang++ (in
# build/fuzz-build, apart from the normal build) and runs it over its seeds
# and for a few seconds. Without clang++ they are skipped. They share one
# build folder, so they run one at a time.
find_program(MORVANE_CLANGXX NAMES clang++ clang++-14)
set(MORVANE_FUZZ_SECONDS 5 CACHE STRING "Seconds of fuzzing in each fuzz test")
foreach(fuzz_target profile pagefixups writebat logs revise)
    add_test(NAME fuzz.${fuzz_target}
        COMMAND sh ${CMAKE_SOURCE_DIR}/fuzz/run-fuzzer.sh ${fuzz_target}_fuzzer
            ${MORVANE_FUZZ_SECONDS} ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/fuzz-build
            $<TARGET_FILE:morvane_core> "${MORVANE_CLANGXX}")
    set_tests_properties(fuzz.${fuzz_target} PROPERTIES
        LABELS fuzz
        SKIP_RETURN_CODE 77
        RESOURCE_LOCK morvane_fuzz_build
        TIMEOUT 900)
endforeach()
