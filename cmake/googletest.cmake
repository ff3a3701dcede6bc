# A cross build finds no installed GoogleTest for its target: build it from
# Debian's sources, which also provide the GTest::gtest and GTest::gtest_main names.
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
