# The window program: the shell and its pages on the SDL2 backend.
if(editor_sources)
  find_package(SDL2 REQUIRED)
  add_executable(talven src/platform/sdl2.cpp)
  target_link_libraries(talven PRIVATE talven_ui talven_surface talven_core SDL2::SDL2)
endif()

# ---- talvenc: the command-line chain, graphic or literal file to hex file ----
add_executable(talvenc src/app/talvenc.cpp)
target_link_libraries(talvenc PRIVATE talven_core)
# Its tests run the built program on files in a scratch folder.
talven_test(app talven_core)
if(TARGET test_app)
  target_compile_definitions(test_app PRIVATE TALVENC_PATH="$<TARGET_FILE:talvenc>")
  add_dependencies(test_app talvenc)
endif()
# ---- end of talvenc ----
