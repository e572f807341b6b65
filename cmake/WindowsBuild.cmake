# The Windows build (mingw-w64, see MingwToolchain.cmake): the core, its GoogleTest suites and the
# context-menu library, without the Qt windows. The tests run under Wine in a prefix of their own
# inside the build folder.
if(NOT WIN32)
    return()
endif()

# Every file sees <windows.h> through base/Types.h: without the rarely used parts it parses a
# quarter faster; the few files that need the shell's or COM's headers include them.
add_compile_definitions(UNICODE _UNICODE _WIN32_WINNT=0x0601 WINVER=0x0601 WIN32_LEAN_AND_MEAN)

if(TW_BUILD_TESTS)
    # GoogleTest from Debian's sources, built with the cross compiler; before the project's
    # warning options, which are not meant for code that is not ours.
    set(TW_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    add_subdirectory(${TW_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    foreach(lib gtest gtest_main gmock gmock_main)
        if(NOT TARGET GTest::${lib})
            add_library(GTest::${lib} ALIAS ${lib})
        endif()
    endforeach()
endif()

# Every program of this tree runs through Wine: ctest, and anything CMake itself would run.
find_program(TW_WINE NAMES wine64 wine PATHS /usr/lib/wine /usr/lib64/wine NO_DEFAULT_PATH)
find_program(TW_WINE NAMES wine64 wine REQUIRED)
get_filename_component(TW_WINE_DIR ${TW_WINE} DIRECTORY)
find_program(TW_WINESERVER NAMES wineserver64 wineserver PATHS ${TW_WINE_DIR} NO_DEFAULT_PATH)
find_program(TW_WINESERVER NAMES wineserver64 wineserver REQUIRED)
set(TW_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh
    FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                     WORLD_READ WORLD_EXECUTE
    @ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh)

# tw_add_wine_test(target): the whole program as one test, run through Wine.
function(tw_add_wine_test target)
    # The suites' own code compiles faster unoptimised; what they test is built as configured.
    target_compile_options(${target} PRIVATE -O0)
    add_test(NAME ${target} COMMAND ${target})
    set_tests_properties(${target} PROPERTIES TIMEOUT 600)
endfunction()
