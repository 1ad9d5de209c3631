# What `cmake --install` puts beside the programs: desktop integration (MIME
# type, desktop entries, icon), manual pages, bash completion and the
# documents. The programs, the Flash engine plugin and the Ruffle files are
# installed by their own folders.
set(SCR_ASSETS ${PROJECT_SOURCE_DIR}/assets)
set(SCR_GENERATED ${PROJECT_BINARY_DIR}/install-data)

# Named in the changelog and, by cmake/ScrPackaging.cmake, the Debian package.
set(SCR_PACKAGE_MAINTAINER "scrplayer developers <scrplayer@example.org>")

find_program(SCR_GZIP gzip REQUIRED)
# The version goes into the changelog and the manual pages' footers.
configure_file(${SCR_ASSETS}/debian/changelog.in ${SCR_GENERATED}/changelog @ONLY)
configure_file(${SCR_ASSETS}/man/scrplayer.1.in ${SCR_GENERATED}/scrplayer.1 @ONLY)
configure_file(${SCR_ASSETS}/man/scrtool.1.in ${SCR_GENERATED}/scrtool.1 @ONLY)
set(compressed)
foreach(name scrplayer.1 scrtool.1 changelog)
  set(input ${SCR_GENERATED}/${name})
  add_custom_command(OUTPUT ${SCR_GENERATED}/${name}.gz
    COMMAND ${CMAKE_COMMAND} -DGZIP=${SCR_GZIP} -DINPUT=${input} -DOUTPUT=${SCR_GENERATED}/${name}.gz
            -P ${PROJECT_SOURCE_DIR}/cmake/GzipFile.cmake
    DEPENDS ${input} ${PROJECT_SOURCE_DIR}/cmake/GzipFile.cmake
    COMMENT "Compressing ${name}" VERBATIM)
  list(APPEND compressed ${SCR_GENERATED}/${name}.gz)
endforeach()
add_custom_target(install_data ALL DEPENDS ${compressed})

install(FILES ${SCR_GENERATED}/scrplayer.1.gz ${SCR_GENERATED}/scrtool.1.gz
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${SCR_ASSETS}/completion/scrtool DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
# The desktop entries run scrtool by its full path, so that they work for a
# per-user install whose bin folder is not on PATH. The path is known only
# when installing (`--prefix`), so they are written then.
install(CODE "set(SCR_DESKTOP_SOURCES \"${SCR_ASSETS}/desktop\")
  set(SCR_DESKTOP_STAGE \"${SCR_GENERATED}/desktop\")
  set(SCR_BINDIR \"${CMAKE_INSTALL_BINDIR}\")
  set(SCR_APPLICATIONS_DIR \"${CMAKE_INSTALL_DATADIR}/applications\")")
install(CODE [[
  set(SCRTOOL "${CMAKE_INSTALL_PREFIX}/${SCR_BINDIR}/scrtool")
  set(entries)
  foreach(entry scrplayer scrplayer_configure scrplayer_install scrplayer_flash)
    configure_file("${SCR_DESKTOP_SOURCES}/${entry}.desktop.in" "${SCR_DESKTOP_STAGE}/${entry}.desktop" @ONLY)
    list(APPEND entries "${SCR_DESKTOP_STAGE}/${entry}.desktop")
  endforeach()
  file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/${SCR_APPLICATIONS_DIR}" TYPE FILE FILES ${entries})
]])
install(FILES ${SCR_ASSETS}/desktop/scrplayer.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${SCR_ASSETS}/desktop/scrplayer.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${SCR_ASSETS}/debian/copyright ${SCR_GENERATED}/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/ DESTINATION ${CMAKE_INSTALL_DOCDIR})

# A direct install refreshes the desktop's caches so that file managers know
# the new type and entries at once. Staged installs (DESTDIR, which CPack
# uses too) leave that to the system that unpacks them (dpkg's triggers do
# it for the .deb).
install(CODE [[
  if("$ENV{DESTDIR}" STREQUAL "")
    find_program(update_mime update-mime-database)
    find_program(update_desktop update-desktop-database)
    if(update_mime)
      execute_process(COMMAND ${update_mime} ${CMAKE_INSTALL_PREFIX}/share/mime)
    endif()
    if(update_desktop)
      execute_process(COMMAND ${update_desktop} -q ${CMAKE_INSTALL_PREFIX}/share/applications)
    endif()
  endif()
]])
