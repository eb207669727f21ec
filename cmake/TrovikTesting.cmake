include(GoogleTest)

# trovik_add_gtest(<name> SOURCES ... [LIBS ...] [TIMEOUT s])
# One GoogleTest executable per module, run through ctest. Every test starts with
# HOME and the XDG folders pointing into the build tree, so nothing can reach the
# real home folder even if a test forgets to set up its own temporary folders.
function(trovik_add_gtest name)
    if(NOT TROVIK_BUILD_TESTS)
        return()
    endif()
    cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 120)
    endif()
    add_executable(${name} ${ARG_SOURCES})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${TROVIK_TEST_BIN_DIR})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} trovik_testsupport GTest::gtest GTest::gmock
                                          GTest::gtest_main)
    target_compile_definitions(${name} PRIVATE TROVIK_BIN_DIR="${TROVIK_BIN_DIR}"
                                               TROVIK_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
    set(sandbox ${CMAKE_BINARY_DIR}/test-sandbox)
    file(MAKE_DIRECTORY ${sandbox}/home ${sandbox}/data ${sandbox}/config ${sandbox}/runtime
         ${sandbox}/tmp)
    file(CHMOD ${sandbox}/runtime DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 60
        PROPERTIES
            TIMEOUT ${ARG_TIMEOUT}
            ENVIRONMENT "HOME=${sandbox}/home;XDG_DATA_HOME=${sandbox}/data;XDG_CONFIG_HOME=${sandbox}/config;XDG_RUNTIME_DIR=${sandbox}/runtime;TMPDIR=${sandbox}/tmp;QT_QPA_PLATFORM=offscreen;TROVIK_OPEN_URL_LOG=${sandbox}/opened-urls.log")
endfunction()
