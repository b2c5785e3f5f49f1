# The core's own tests where the desktop's GoogleTest cannot go (the browser's
# build, Windows'): GoogleTest built from its sources, without threads, the
# cases table, and the core's test files in VELMAR_CORE_TEST_SOURCES.
find_path(VELMAR_GTEST_SOURCE CMakeLists.txt PATHS /usr/src/googletest/googletest
          DOC "GoogleTest's sources (Debian: googletest)" NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT VELMAR_GTEST_SOURCE)
    message(FATAL_ERROR "The core's tests here need GoogleTest's sources (Debian: googletest), "
                        "or VELMAR_GTEST_SOURCE naming them; script/test installs them")
endif()
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${VELMAR_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(${CMAKE_CURRENT_LIST_DIR}/cases.cmake)
velmar_cases(${CMAKE_CURRENT_BINARY_DIR}/cases)
include_directories(${CMAKE_CURRENT_BINARY_DIR}/cases)
set(VELMAR_CORE_TEST_SOURCES mapping_test.cpp graph_test.cpp displaytext_test.cpp raster_test.cpp
                             form_test.cpp boxtext_test.cpp)
list(TRANSFORM VELMAR_CORE_TEST_SOURCES PREPEND ${CMAKE_CURRENT_LIST_DIR}/)
