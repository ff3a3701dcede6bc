# The version is written once, in the title the window shows ("TALVEN  version Beta 0.0").
# CMake's project version takes its number; the Debian version adds the stage
# after a tilde so that the finished 0.0 sorts after it (0.0~beta).
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/../src/platform/seam.h title_line REGEX "program_title = ")
if(NOT title_line MATCHES "version ([A-Za-z]+) ([0-9.]+)\"")
  message(FATAL_ERROR "No version found in program_title (src/platform/seam.h)")
endif()
set(TALVEN_VERSION_NUMBER ${CMAKE_MATCH_2})
string(TOLOWER ${CMAKE_MATCH_1} TALVEN_VERSION_STAGE)
set(TALVEN_DEBIAN_VERSION "${TALVEN_VERSION_NUMBER}~${TALVEN_VERSION_STAGE}")
