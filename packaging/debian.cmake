# What a Debian package needs beside the programs: the copyright file, the
# changelog and the manual pages, compressed the way dpkg expects (gzip -9n, no
# name or date inside).
configure_file(${CMAKE_SOURCE_DIR}/packaging/changelog.in ${CMAKE_BINARY_DIR}/packaging/changelog @ONLY)
set(changelog_gz ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
add_custom_command(OUTPUT ${changelog_gz}
  COMMAND gzip -9nc ${CMAKE_BINARY_DIR}/packaging/changelog > ${changelog_gz}
  DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog
  COMMENT "Compressing the changelog")
add_custom_target(changelog ALL DEPENDS ${changelog_gz})
install(FILES packaging/copyright ${changelog_gz} DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(manual_pages)
foreach(program talven talvenc)
  set(page_gz ${CMAKE_BINARY_DIR}/packaging/${program}.1.gz)
  add_custom_command(OUTPUT ${page_gz}
    COMMAND gzip -9nc ${CMAKE_SOURCE_DIR}/packaging/${program}.1 > ${page_gz}
    DEPENDS ${CMAKE_SOURCE_DIR}/packaging/${program}.1
    COMMENT "Compressing the manual page of ${program}")
  list(APPEND manual_pages ${page_gz})
endforeach()
add_custom_target(manual_pages ALL DEPENDS ${manual_pages})
install(FILES ${manual_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
