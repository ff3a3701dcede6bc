# The window program: the shell and its pages on the SDL2 backend.
if(editor_sources)
  find_package(SDL2 REQUIRED)
  add_executable(talven src/platform/sdl2.cpp)
  target_link_libraries(talven PRIVATE talven_ui talven_surface talven_core SDL2::SDL2)
endif()
