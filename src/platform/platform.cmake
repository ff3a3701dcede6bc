# The window side on Linux: the software surface, the headless and SDL2 backends,
# and their tests.
find_package(PkgConfig REQUIRED)
pkg_check_modules(FREETYPE REQUIRED IMPORTED_TARGET freetype2)
find_package(SDL2 REQUIRED)

# The drawing calls on an in-memory surface, text through FreeType.
add_library(talven_surface STATIC src/platform/software_surface.cpp)
target_include_directories(talven_surface PUBLIC src)
target_link_libraries(talven_surface PUBLIC PkgConfig::FREETYPE)

# The window in memory, for tests and pictures.
add_library(talven_headless STATIC src/platform/backends/headless.cpp)
target_link_libraries(talven_headless PUBLIC talven_ui talven_surface talven_core)

talven_test(platform talven_headless)
talven_test(kit talven_headless)
talven_test(shell talven_headless)
talven_test(editors talven_headless)

# The SDL backend's event translation, tested against a recording stand-in for the shell.
add_executable(test_sdl_events tests/platform/sdl_events/sdl_events_test.cpp src/platform/backends/sdl2.cpp)
target_compile_definitions(test_sdl_events PRIVATE TALVEN_SDL_EVENTS_ONLY)
target_include_directories(test_sdl_events PRIVATE src)
target_link_libraries(test_sdl_events PRIVATE SDL2::SDL2 GTest::gtest GTest::gtest_main)
gtest_discover_tests(test_sdl_events)
