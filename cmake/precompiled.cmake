# Precompiled headers for the libraries (the test executables share their own,
# tests/support/precompiled.h). Measured with GCC 12 at RelWithDebInfo, in
# processor time: a library file took about 3.3 s, of which some 2 s went to
# parsing Qt's headers; with its library's precompiled header, built once in
# 8 s, about 1.4 s. The headers hold Qt's and the standard library's own
# headers only. -DCMAKE_DISABLE_PRECOMPILE_HEADERS=ON builds without them.

# Gives `target` the precompiled header `header`. ccache caches the compiles
# that use one only with the pch_defines,time_macros sloppiness, set here in
# the target's compiler launcher.
function(morvane_precompile target header)
    target_precompile_headers(${target} PRIVATE ${header})
    morvane_ccache_for_precompiled(${target})
endfunction()

function(morvane_ccache_for_precompiled target)
    if(CCACHE_PROGRAM)
        set_target_properties(${target} PROPERTIES CXX_COMPILER_LAUNCHER
            "env;CCACHE_SLOPPINESS=pch_defines,time_macros;${CCACHE_PROGRAM}")
    endif()
endfunction()

morvane_precompile(morvane_core ${CMAKE_SOURCE_DIR}/cmake/precompiled_core.h)
morvane_precompile(morvane_gui ${CMAKE_SOURCE_DIR}/cmake/precompiled_gui.h)
