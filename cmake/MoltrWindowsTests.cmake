# The test programs of the Windows build: GoogleTest cross-built from Debian's sources (package
# googletest), and Wine as the emulator through which ctest runs them, in a private prefix inside
# the build folder so that no run touches the user's own Wine.

set(MOLTR_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources for the Windows tests")
find_program(MOLTR_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)

if(NOT EXISTS ${MOLTR_GOOGLETEST_SOURCE}/CMakeLists.txt)
    message(STATUS "No GoogleTest sources in ${MOLTR_GOOGLETEST_SOURCE}: no Windows test programs")
    return()
endif()

# GoogleTest is built as its authors build it, without the product's warning options.
get_directory_property(moltr_saved_options COMPILE_OPTIONS)
set_directory_properties(PROPERTIES COMPILE_OPTIONS "")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(${MOLTR_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
set_directory_properties(PROPERTIES COMPILE_OPTIONS "${moltr_saved_options}")

set(MOLTR_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine)
if(MOLTR_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR env WINEPREFIX=${MOLTR_WINE_PREFIX} WINEDEBUG=-all DISPLAY=
                                      ${MOLTR_WINE})
endif()

set(MOLTR_WINDOWS_TESTS ON)
enable_testing()
