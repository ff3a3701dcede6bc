# The 48x48 icon, drawn by ImageMagick with the shapes of talven.svg (this
# ImageMagick cannot read SVG itself): an initial step, a transition, a step.
find_program(CONVERT convert)
if(NOT CONVERT)
  message(STATUS "ImageMagick's convert not found: only the scalable icon is installed")
  return()
endif()
set(icon_png ${CMAKE_BINARY_DIR}/packaging/talven.png)
add_custom_command(OUTPUT ${icon_png}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
  COMMAND ${CONVERT} -size 48x48 xc:none
    -fill "rgb(0,128,255)" -draw "roundrectangle 0,0 47,47 6,6"
    -fill none -stroke white -strokewidth 2
    -draw "rectangle 14,3 34,19" -draw "rectangle 17,6 31,16" -draw "line 24,19 24,29"
    -draw "rectangle 14,29 34,45"
    -strokewidth 3 -draw "line 16,24 32,24"
    -define png:exclude-chunks=date,time ${icon_png}
  DEPENDS ${CMAKE_SOURCE_DIR}/packaging/icon.cmake
  COMMENT "Drawing the 48x48 icon" VERBATIM)
add_custom_target(icon ALL DEPENDS ${icon_png})
install(FILES ${icon_png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/apps)
