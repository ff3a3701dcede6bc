# The Windows cross build (cmake/mingw-w64.cmake): the same shell and pages as on
# Linux, drawn by the native window of win32.cpp, and the command-line compiler.
# Both run under Wine in the tests of tests/windows.
set(wine_environment "WINEDEBUG=-all;WINEPREFIX=${CMAKE_BINARY_DIR}/wine")
# The Linux build whose programs the tests compare with (scripts/build-windows makes it).
set(TALVEN_NATIVE_BUILD ${CMAKE_SOURCE_DIR}/build CACHE PATH "The Linux build folder")

add_executable(talven WIN32 src/platform/backends/win32.cpp)
target_link_libraries(talven PRIVATE talven_ui)
add_test(NAME windows_talven_smoke
  COMMAND ${CMAKE_SOURCE_DIR}/tests/windows/talven-smoke $<TARGET_FILE:talven> ${CMAKE_SOURCE_DIR}
          ${TALVEN_NATIVE_BUILD}/window_replay)
set_tests_properties(windows_talven_smoke PROPERTIES ENVIRONMENT "${wine_environment}")

add_executable(talvenc src/app/talvenc.cpp src/app/grade.cpp src/app/grade_report.cpp)
target_link_libraries(talvenc PRIVATE talven_core)
add_test(NAME windows_talvenc_same_hex
  COMMAND ${CMAKE_SOURCE_DIR}/tests/windows/talvenc-same-hex $<TARGET_FILE:talvenc> ${TALVEN_NATIVE_BUILD}/talvenc
          ${CMAKE_SOURCE_DIR})
set_tests_properties(windows_talvenc_same_hex PROPERTIES ENVIRONMENT "${wine_environment}")

# The targets beside the programs, as the zip has them: a test that changes to a folder
# on another drive would not find the source tree's, whose path has no drive letter.
add_custom_target(targets_beside_programs ALL
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/targets ${CMAKE_BINARY_DIR}/targets)
