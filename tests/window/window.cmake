# The real window driven under Xvfb, compared with the headless window; registered
# only where Xvfb, xdotool and ImageMagick's import exist.
find_program(XVFB Xvfb)
find_program(XDOTOOL xdotool)
find_program(IMPORT import)
if(XVFB AND XDOTOOL AND IMPORT)
  add_executable(window_replay ${CMAKE_CURRENT_LIST_DIR}/window_replay.cpp)
  target_link_libraries(window_replay PRIVATE talven_headless)
  add_test(NAME RealWindow.UserSession
    COMMAND ${CMAKE_CURRENT_LIST_DIR}/real-window-test $<TARGET_FILE:talven> $<TARGET_FILE:window_replay>
            ${CMAKE_SOURCE_DIR})
  # SDL and X keep some memory until exit, which is not the program's leak.
  # It times what it sees on screen, so it runs alone rather than beside the gpsim runs.
  set_tests_properties(RealWindow.UserSession PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE ENVIRONMENT "ASAN_OPTIONS=detect_leaks=0")
endif()
