# CPack: a .deb from the Linux build, a .zip from the Windows cross build
# (scripts/package makes both). The deb's library dependencies come from
# dpkg-shlibdeps; the font is read by path, so it is named by hand.
set(CPACK_PACKAGE_NAME talven)
set(CPACK_PACKAGE_VENDOR "TALVEN developers")
set(CPACK_PACKAGE_CONTACT "TALVEN developers <dev@talven.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "GRAFCET editor and compiler for 14-bit PIC microcontrollers")
set(CPACK_PACKAGE_DESCRIPTION
  "TALVEN lets students, teachers and hobbyists program small 14-bit PIC
microcontrollers with GRAFCET: draw the chart on a grid, type the outputs of
each step and the condition of each transition, translate the chart into a
readable literal program and compile it into an Intel HEX file for a device
programmer. The package holds the window program (talven), the command-line
compiler and simulator (talvenc), targets for the PIC16F628A, PIC16F84A,
PIC16F88, PIC16F877A and PIC16F887, four examples and the manual.")
set(CPACK_STRIP_FILES ON)

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME talven-${TALVEN_VERSION_NUMBER}-${TALVEN_VERSION_STAGE}-windows)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_PACKAGE_VERSION ${TALVEN_DEBIAN_VERSION})
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
endif()
include(CPack)
