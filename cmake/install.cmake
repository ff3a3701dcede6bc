# What `cmake --install` puts under the prefix, and where the programs look for it.
# Linux follows the FHS through GNUInstallDirs (bin/, share/talven/, share/doc/talven/,
# share/applications/, share/icons/); the Windows zip keeps everything beside the two
# programs. The examples name their definition as ../../targets/, so examples/ and
# targets/ stay side by side in both.
include(GNUInstallDirs)
if(WIN32)
  set(talven_bin_dir .)
  set(talven_data_dir .)
  set(talven_doc_dir .)
  set(installed_targets targets)
  set(installed_manual manual.html)
else()
  set(talven_bin_dir ${CMAKE_INSTALL_BINDIR})
  set(talven_data_dir ${CMAKE_INSTALL_DATADIR}/talven)
  set(talven_doc_dir ${CMAKE_INSTALL_DOCDIR})
  file(RELATIVE_PATH installed_targets ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_DATADIR}/talven/targets)
  file(RELATIVE_PATH installed_manual ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_DOCDIR}/manual.html)
endif()

# The programs find the installed files from their own folder, or else the source tree.
set_source_files_properties(${CMAKE_SOURCE_DIR}/src/startup/bundled_files.cpp PROPERTIES COMPILE_DEFINITIONS
  "TALVEN_INSTALLED_TARGETS=\"${installed_targets}\";TALVEN_INSTALLED_MANUAL=\"${installed_manual}\";TALVEN_SOURCE_TREE=\"${CMAKE_SOURCE_DIR}\"")

install(TARGETS talven talvenc RUNTIME DESTINATION ${talven_bin_dir})
install(DIRECTORY targets/ DESTINATION ${talven_data_dir}/targets FILES_MATCHING PATTERN "*.def" PATTERN "programmers.txt")
install(DIRECTORY examples/ DESTINATION ${talven_data_dir}/examples)
# The manual is one page and the picture it shows.
install(FILES docs/manual.html docs/screenshot-sim.png DESTINATION ${talven_doc_dir})

if(NOT WIN32)
  install(FILES packaging/talven.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES packaging/talven.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  include(packaging/icon.cmake)
  include(packaging/debian.cmake)
endif()

include(cmake/package.cmake)
