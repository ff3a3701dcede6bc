# The programs: the window on the SDL2 backend, talvenc, and the tools that draw
# the window headless into PNG pictures.
add_executable(talven src/platform/backends/sdl2.cpp)
target_link_libraries(talven PRIVATE talven_ui talven_surface talven_core SDL2::SDL2)

# talvenc: the command-line chain, graphic or literal file to hex file. Its tests
# run the built program on files in a scratch folder.
add_executable(talvenc src/app/talvenc.cpp src/app/grade.cpp src/app/grade_report.cpp)
target_link_libraries(talvenc PRIVATE talven_core)
talven_test(app talven_core)
target_compile_definitions(test_app PRIVATE TALVENC_PATH="$<TARGET_FILE:talvenc>")
add_dependencies(test_app talvenc)
# The check's counter-examples are replayed by talvenc --simulate.
target_compile_definitions(test_check PRIVATE TALVENC_PATH="$<TARGET_FILE:talvenc>")
add_dependencies(test_check talvenc)
# The simulation page's saved scenario is replayed by talvenc.
target_compile_definitions(test_editors PRIVATE TALVENC_PATH="$<TARGET_FILE:talvenc>"
                           TALVEN_SOURCE_FALLBACK="${CMAKE_SOURCE_DIR}")
add_dependencies(test_editors talvenc)

# Draws the window headless and saves it as a PNG picture: talven_screenshot file.png
add_executable(talven_screenshot src/app/screenshot.cpp)
target_link_libraries(talven_screenshot PRIVATE talven_headless)
# Draws a chart on the grid page and saves it: talven_grid_screenshot docs/screenshot-grid.png
add_executable(talven_grid_screenshot src/app/grid_screenshot.cpp)
target_link_libraries(talven_grid_screenshot PRIVATE talven_headless)
# Runs the choice example on the simulation page and saves it: talven_sim_screenshot examples/choice docs/screenshot-sim.png
add_executable(talven_sim_screenshot src/app/sim_screenshot.cpp)
target_link_libraries(talven_sim_screenshot PRIVATE talven_headless)

# The window program's command line and its start-up failures, without a display.
add_test(NAME talven_command_line COMMAND ${CMAKE_SOURCE_DIR}/tests/app/talven-command-line $<TARGET_FILE:talven>)
# SDL and X keep some memory until exit, which is not the program's leak.
set_tests_properties(talven_command_line PROPERTIES ENVIRONMENT "ASAN_OPTIONS=detect_leaks=0")
