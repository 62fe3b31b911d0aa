# Fails when the tests, benchmarks, fuzz targets, scripts or build files
# reach for a path outside the repository (a sibling folder through `..`, a
# developer machine's absolute path), so that a clone with nothing beside it
# builds and passes its tests; and when a folder of tests/corpus lacks the
# SOURCE.txt that names its origin and licence.
# Run as `cmake -DSOURCE_DIR=... -P selfcontained.cmake`.
if(NOT IS_DIRECTORY "${SOURCE_DIR}")
    message(FATAL_ERROR "SOURCE_DIR is not a folder: '${SOURCE_DIR}'")
endif()

# Test documents and fuzz seeds may hold `../` on purpose: they are inputs.
file(GLOB_RECURSE candidates LIST_DIRECTORIES false
    ${SOURCE_DIR}/tests/* ${SOURCE_DIR}/bench/* ${SOURCE_DIR}/fuzz/*
    ${SOURCE_DIR}/scripts/* ${SOURCE_DIR}/.ci/*
    ${SOURCE_DIR}/CMakeLists.txt ${SOURCE_DIR}/cmake/* ${SOURCE_DIR}/src/CMakeLists.txt)

# A sibling of the repository, a machine's own tree, or a climb out of the
# top folder from the names the build gives it.
set(outside
    "\\.\\./shared"
    "/work/"
    "(^|[^A-Za-z_])(CMAKE_SOURCE_DIR|PROJECT_SOURCE_DIR|MORVANE_SOURCE_DIR|SOURCE_DIR)[}\"]* *\"?/\\.\\.([/\") ]|$)"
    "\\$\\(dirname[^)]*\\)/\\.\\./\\.\\.")
string(JOIN "|" pattern ${outside})

set(failures "")
foreach(f ${candidates})
    file(RELATIVE_PATH name ${SOURCE_DIR} ${f})
    if(name MATCHES "^(tests/(data|corpus)|fuzz/corpus)/" OR name STREQUAL "tests/selfcontained.cmake")
        continue()
    endif()
    file(STRINGS ${f} hits REGEX "${pattern}")
    foreach(hit ${hits})
        string(STRIP "${hit}" hit)
        list(APPEND failures "${name}: ${hit}")
    endforeach()
endforeach()

file(GLOB corpus_folders LIST_DIRECTORIES true ${SOURCE_DIR}/tests/corpus/*)
foreach(folder ${corpus_folders})
    if(NOT IS_DIRECTORY ${folder})
        continue()
    endif()
    file(RELATIVE_PATH name ${SOURCE_DIR} ${folder})
    if(NOT EXISTS ${folder}/SOURCE.txt)
        list(APPEND failures "${name}: no SOURCE.txt")
        continue()
    endif()
    file(STRINGS ${folder}/SOURCE.txt origin REGEX "^Source:")
    file(STRINGS ${folder}/SOURCE.txt licence REGEX "^Licence:")
    if(NOT origin OR NOT licence)
        list(APPEND failures "${name}/SOURCE.txt: needs a 'Source:' and a 'Licence:' line")
    endif()
endforeach()

if(failures)
    string(REPLACE ";" "\n" text "${failures}")
    message(FATAL_ERROR "reaches outside the repository or lacks its origin:\n${text}")
endif()
