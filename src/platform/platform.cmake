# The window side: the software surface, the headless and SDL2 backends, the
# shell with the editor pages, and their tests.
find_package(PkgConfig REQUIRED)
pkg_check_modules(FREETYPE REQUIRED IMPORTED_TARGET freetype2)
find_package(PNG REQUIRED)

# The drawing calls on an in-memory surface, text through FreeType, PNG export.
add_library(talven_surface STATIC src/platform/software_surface.cpp)
target_include_directories(talven_surface PUBLIC src)
target_link_libraries(talven_surface PUBLIC PkgConfig::FREETYPE PNG::PNG)

# The shell and the editor pages: everything drawn, nothing that knows a toolkit.
file(GLOB ui_sources CONFIGURE_DEPENDS src/shell/*.cpp src/editors/*.cpp)
add_library(talven_ui STATIC ${ui_sources})
target_link_libraries(talven_ui PUBLIC talven_core)
set(TALVEN_MANUAL_ADDRESS "file://${CMAKE_SOURCE_DIR}/docs/manual.html" CACHE STRING
    "Where the Manual box says the manual lies")
target_compile_definitions(talven_ui PRIVATE TALVEN_MANUAL_ADDRESS="${TALVEN_MANUAL_ADDRESS}")

# The window in memory, for tests and screenshots.
add_library(talven_headless STATIC src/platform/headless.cpp)
target_link_libraries(talven_headless PUBLIC talven_ui talven_surface talven_core)

talven_test(platform talven_headless talven_ui talven_surface talven_core)

# Whatever runs the window procedure needs the editor pages to link.
file(GLOB editor_sources CONFIGURE_DEPENDS src/editors/*.cpp)
if(editor_sources)
  talven_test(shell talven_headless talven_ui talven_surface talven_core)
  talven_test(editors talven_headless talven_ui talven_surface talven_core)
  # Draws the window headless and saves it as a PNG picture: talven_screenshot file.png
  add_executable(talven_screenshot src/platform/screenshot.cpp)
  target_link_libraries(talven_screenshot PRIVATE talven_headless)
  # Draws a chart on the grid page and saves it: talven_grid_screenshot docs/screenshot-grid.png
  add_executable(talven_grid_screenshot src/app/grid_screenshot.cpp)
  target_link_libraries(talven_grid_screenshot PRIVATE talven_headless)
endif()

# The SDL backend's event translation, tested against a recording stand-in for the shell.
find_package(SDL2 REQUIRED)
add_executable(test_sdl_events tests/platform/sdl_events/sdl_events_test.cpp src/platform/sdl2.cpp)
target_compile_definitions(test_sdl_events PRIVATE TALVEN_SDL_EVENTS_ONLY)
target_include_directories(test_sdl_events PRIVATE src)
target_link_libraries(test_sdl_events PRIVATE SDL2::SDL2 GTest::gtest GTest::gtest_main)
gtest_discover_tests(test_sdl_events)
