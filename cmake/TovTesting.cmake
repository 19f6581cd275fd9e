# Helpers for the project's layered libraries and their test programs.

# tov_layer_sources(OUT DIR): the C++ sources of a folder for this target platform.
function(tov_layer_sources out dir)
    file(GLOB_RECURSE all CONFIGURE_DEPENDS ${dir}/*.cpp)
    set(kept)
    foreach(f ${all})
        if(f MATCHES "_win32\\.cpp$" AND NOT WIN32)
            continue()
        endif()
        if(f MATCHES "_posix\\.cpp$" AND WIN32)
            continue()
        endif()
        list(APPEND kept ${f})
    endforeach()
    set(${out} ${kept} PARENT_SCOPE)
endfunction()

# tov_use_test_header(TARGET): compile TARGET with the test support's precompiled GoogleTest header
# (tests/CMakeLists.txt), built once for every test program.
function(tov_use_test_header name)
    target_precompile_headers(${name} REUSE_FROM tov_test_support)
endfunction()

# tov_add_test(NAME SOURCES... LIBS ...): one GoogleTest program registered with CTest. Windows
# builds run under Wine through the cross-compiling emulator; native ones run directly.
function(tov_add_test name)
    cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} tov_test_support gmock)
    tov_use_test_header(${name})
    add_test(NAME ${name} COMMAND ${name})
    if(WIN32)
        set_tests_properties(${name} PROPERTIES LABELS "wine")
    else()
        set_tests_properties(${name} PROPERTIES LABELS "native")
    endif()
endfunction()
