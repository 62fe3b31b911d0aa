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
set_property(SOURCE ${CMAKE_SOURCE_DIR}/src/platform/programmodule.cpp
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

# --- Desktop integration --------------------------------------------------

set(MORVANE_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)
set(MORVANE_PACKAGING_BINARY_DIR ${CMAKE_BINARY_DIR}/packaging)

install(FILES ${MORVANE_PACKAGING_DIR}/morvane.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
    RENAME ${MORVANE_APP_ID}.desktop)

configure_file(${MORVANE_PACKAGING_DIR}/morvane.metainfo.xml.in
    ${MORVANE_PACKAGING_BINARY_DIR}/${MORVANE_APP_ID}.metainfo.xml @ONLY)
install(FILES ${MORVANE_PACKAGING_BINARY_DIR}/${MORVANE_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The icon: the SVG as drawn, and PNGs rendered from it at build time.
set(MORVANE_ICON_SVG ${MORVANE_PACKAGING_DIR}/icons/${MORVANE_APP_ID}.svg)
set(MORVANE_ICON_SIZES 16 32 48 64 128 256)
install(FILES ${MORVANE_ICON_SVG}
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

find_program(MORVANE_RSVG_CONVERT rsvg-convert)
find_program(MORVANE_IMAGEMAGICK_CONVERT NAMES magick convert)
set(MORVANE_ICON_PNGS)
foreach(size ${MORVANE_ICON_SIZES})
    set(png ${MORVANE_PACKAGING_BINARY_DIR}/icons/${size}x${size}/${MORVANE_APP_ID}.png)
    if(MORVANE_RSVG_CONVERT)
        set(render ${MORVANE_RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${MORVANE_ICON_SVG})
    elseif(MORVANE_IMAGEMAGICK_CONVERT)
        set(render ${MORVANE_IMAGEMAGICK_CONVERT} -background none -density 384
            ${MORVANE_ICON_SVG} -resize ${size}x${size} ${png})
    else()
        break()
    endif()
    add_custom_command(OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${MORVANE_PACKAGING_BINARY_DIR}/icons/${size}x${size}
        COMMAND ${render}
        DEPENDS ${MORVANE_ICON_SVG}
        COMMENT "Rendering the ${size}x${size} icon"
        VERBATIM)
    list(APPEND MORVANE_ICON_PNGS ${png})
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
# The sizes installed, for the tests.
set(MORVANE_ICON_SIZES_TEXT "")
if(MORVANE_ICON_PNGS)
    add_custom_target(morvane_icons ALL DEPENDS ${MORVANE_ICON_PNGS})
    string(JOIN " " MORVANE_ICON_SIZES_TEXT ${MORVANE_ICON_SIZES})
else()
    message(WARNING "Neither rsvg-convert nor ImageMagick found: only the scalable icon "
        "is installed (install librsvg2-bin for the PNG sizes).")
endif()

# The manual page, gzipped as Debian wants it.
configure_file(${MORVANE_PACKAGING_DIR}/morvane.1 ${MORVANE_PACKAGING_BINARY_DIR}/morvane.1 @ONLY)
file(ARCHIVE_CREATE OUTPUT ${MORVANE_PACKAGING_BINARY_DIR}/morvane.1.gz
    PATHS ${MORVANE_PACKAGING_BINARY_DIR}/morvane.1
    FORMAT raw COMPRESSION GZip)
install(FILES ${MORVANE_PACKAGING_BINARY_DIR}/morvane.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# --- Debian package: `cpack -G DEB` in the build tree ----------------------

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME morvane)
set(CPACK_PACKAGE_VENDOR "The Morvane developers")
set(CPACK_PACKAGE_CONTACT "Morvane developers <packaging@morvane.org>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "front end turning TeX and LaTeX documents into web pages")
set(CPACK_PACKAGE_DESCRIPTION [=[
Morvane is a desktop front end for the real TeX and LaTeX converters:
HeVeA, TtH, TeX4ht, LaTeX2HTML, latex and pdfLaTeX. Pick a document,
pick a route, tick the options and press Convert: Morvane composes the
converter's command line, runs it, fixes the links and images of the
produced pages and shows the result and the log. Every route also runs
from the command line, without a window.]=])
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION tex)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so dpkg-shlibdeps cannot see them: the platform plugins
# for the window and the helper process of the built-in browser.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6webenginecore6-bin")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "hevea, tth, tth-common, texlive-plain-generic, latex2html, texinfo, dvipng, texlive-latex-base, libjs-mathjax")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)

# --- Tests of the installed tree ------------------------------------------

add_subdirectory(tests/packaging)
