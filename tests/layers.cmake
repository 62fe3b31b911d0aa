# Fails when a file includes from a layer above its own: settings/ looks at
# platform/ only, pipeline/ and fixups/ never at app/ or ui/, and nothing
# below ui/ includes a window. Run as `cmake -DSOURCE_DIR=... -P layers.cmake`.
set(rules
    "platform:(settings|pipeline|fixups|drivers|tex4ht|update|pdfsetup|app|ui)/"
    "settings:(pipeline|fixups|drivers|tex4ht|update|pdfsetup|app|ui)/"
    "pipeline:(fixups|drivers|tex4ht|update|pdfsetup|app|ui)/"
    "fixups:(drivers|tex4ht|update|pdfsetup|app|ui)/"
    "drivers:(update|pdfsetup|app|ui)/"
    "tex4ht:(drivers|update|pdfsetup|app|ui)/"
    "update:(fixups|drivers|tex4ht|pdfsetup|app|ui)/"
    "pdfsetup:(fixups|drivers|tex4ht|update|app|ui)/"
    "app:ui/")
set(failures "")
foreach(rule ${rules})
    string(REPLACE ":" ";" parts "${rule}")
    list(GET parts 0 layer)
    list(GET parts 1 forbidden)
    file(GLOB files ${SOURCE_DIR}/src/${layer}/*.cpp ${SOURCE_DIR}/src/${layer}/*.h)
    foreach(f ${files})
        file(STRINGS ${f} includes REGEX "^#include \"(${forbidden})")
        if(includes)
            list(APPEND failures "${f}: ${includes}")
        endif()
    endforeach()
endforeach()
if(failures)
    string(REPLACE ";" "\n" text "${failures}")
    message(FATAL_ERROR "includes from a higher layer:\n${text}")
endif()
