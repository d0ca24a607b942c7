# What `cmake --install` puts where, the man pages, and the packages that CPack makes: a .deb
# on Linux, a .zip of the two programs for Windows. The window's own files (its desktop
# entry, icon and metainfo) are installed beside the window's target.

install(TARGETS tavrix-script RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# A man page for each program, made from its --help at build time. The locale is fixed so
# that every machine makes the same page: UTF-8 text under help2man's own headings.
function(tavrix_man_page program summary)
  set(page ${PROJECT_BINARY_DIR}/man/${program}.1)
  add_custom_command(
    OUTPUT ${page}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
    COMMAND ${HELP2MAN} --no-info --locale=C.UTF-8 --name=${summary}
            "--version-string=${program} (tavrix) ${PROJECT_VERSION}"
            --output=${page} $<TARGET_FILE:${program}>
    COMMAND gzip -9 --no-name --force ${page}
    DEPENDS ${program}
    COMMENT "Man page ${program}.1"
    VERBATIM)
  add_custom_target(${program}-man ALL DEPENDS ${page}.gz)
  install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()

if(NOT WIN32 AND NOT CMAKE_CROSSCOMPILING)
  find_program(HELP2MAN help2man)
  if(HELP2MAN)
    tavrix_man_page(tavrix-script "realiza un guion en el editor de intros, sin ventana")
    if(TARGET tavrix)
      tavrix_man_page(tavrix "editor de intros animadas")
    endif()
  else()
    message(STATUS "Man pages: not made, help2man was not found (Debian: help2man)")
  endif()
endif()

# Packages: `cpack` in the build folder.
set(CPACK_PACKAGE_NAME tavrix)
set(CPACK_PACKAGE_VENDOR Tavrix)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Editor de intros animadas")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Tavrix describe en una ventana la intro animada de un juego en 2D y escribe su archivo de "
    "definición. tavrix-script hace lo mismo sin pantalla, a partir de un guion.")
set(CPACK_PACKAGE_CONTACT "Tavrix maintainers <maintainers@tavrix.invalid>")
set(CPACK_STRIP_FILES ON)
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(CPACK_SYSTEM_NAME win64)
  else()
    set(CPACK_SYSTEM_NAME win32)
  endif()
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION devel)
  # The libraries the programs link, found by dpkg-shlibdeps; and what Qt loads at run time.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  if(TARGET tavrix)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation")
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
  endif()
endif()
include(CPack)
