# Everything that makes Morvane installable as a desktop program: the desktop
# entry, icons, AppStream metadata, the manual page, the Debian package, and
# the tests of what `cmake --install` puts in place.

include(GNUInstallDirs)

set(MORVANE_APP_ID org.morvane.Morvane)

# Every directory of the project, for the properties below that must reach
# targets wherever they are defined.
function(morvane_collect_directories dir out)
    set(dirs ${dir})
    get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    foreach(sub ${subdirs})
        morvane_collect_directories(${sub} sub_dirs)
        list(APPEND dirs ${sub_dirs})
    endforeach()
    set(${out} ${dirs} PARENT_SCOPE)
endfunction()
morvane_collect_directories(${CMAKE_SOURCE_DIR} MORVANE_ALL_DIRECTORIES)

# An installed program looks for its files in the prefix it sits in first
# (<bindir>/../share/morvane, <bindir>/../lib/morvane), so a tree installed
# with DESTDIR, or a package built with another prefix, finds its own files.
file(RELATIVE_PATH MORVANE_DATA_RELATIVE_DIR
    ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_DATADIR}/morvane)
file(RELATIVE_PATH MORVANE_MODULE_RELATIVE_DIR
    ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR}/morvane)
set_property(SOURCE ${CMAKE_SOURCE_DIR}/src/platform/programdir.cpp
    DIRECTORY ${MORVANE_ALL_DIRECTORIES}
    APPEND PROPERTY COMPILE_DEFINITIONS MORVANE_DATA_RELATIVE_DIR="${MORVANE_DATA_RELATIVE_DIR}")
set_property(SOURCE ${CMAKE_SOURCE_DIR}/src/ui/webengineloader.cpp
    DIRECTORY ${MORVANE_ALL_DIRECTORIES}
    APPEND PROPERTY COMPILE_DEFINITIONS MORVANE_MODULE_RELATIVE_DIR="${MORVANE_MODULE_RELATIVE_DIR}")

# Installed binaries find private shared libraries of ${libdir}/morvane
# relative to themselves, never through the build tree.
file(RELATIVE_PATH MORVANE_BIN_TO_PRIVATE_LIBS
    ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR}/morvane)
foreach(dir ${MORVANE_ALL_DIRECTORIES})
    get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target ${targets})
        get_target_property(type ${target} TYPE)
        get_target_property(rpath ${target} INSTALL_RPATH)
        if(rpath)
            continue()
        endif()
        if(type STREQUAL "EXECUTABLE")
            set_target_properties(${target} PROPERTIES
                INSTALL_RPATH "$ORIGIN/${MORVANE_BIN_TO_PRIVATE_LIBS}")
        elseif(type STREQUAL "SHARED_LIBRARY" OR type STREQUAL "MODULE_LIBRARY")
            set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN")
        endif()
    endforeach()
endforeach()
