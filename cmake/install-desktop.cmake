# Installs the tools where a Linux desktop finds them: the executables, their
# manual pages (made from their --help at build time) and trk's shell
# completions; for the window also its menu entry, AppStream metainfo,
# icons, the MIME type of track files and a thumbnailer that lets file
# managers show each track's picture. The desktop's caches pick these up on
# their next update (update-desktop-database, update-mime-database,
# gtk-update-icon-cache); packagers run those, so the install itself stays
# free of side effects.

set(TA_APP_ID io.github.trackanalyse.TrackAnalyse)

find_program(HELP2MAN help2man)
set(ta_man_pages)
if(HELP2MAN)
  set(ta_man_dir ${CMAKE_BINARY_DIR}/man)
  add_custom_command(
    OUTPUT ${ta_man_dir}/trk.1
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ta_man_dir}
    COMMAND ${CMAKE_SOURCE_DIR}/tools/make-man.sh $<TARGET_FILE:trk>
            "list, draw and export the race tracks of Velocitra" ${ta_man_dir}/trk.1
            info render car lap compare
    DEPENDS trk ${CMAKE_SOURCE_DIR}/tools/make-man.sh
    VERBATIM)
  list(APPEND ta_man_pages ${ta_man_dir}/trk.1)
  if(TARGET track-analyse)
    add_custom_command(
      OUTPUT ${ta_man_dir}/track-analyse.1
      COMMAND ${CMAKE_COMMAND} -E make_directory ${ta_man_dir}
      COMMAND ${CMAKE_SOURCE_DIR}/tools/make-man.sh $<TARGET_FILE:track-analyse>
              "list and draw the race tracks of Velocitra in a window"
              ${ta_man_dir}/track-analyse.1
      DEPENDS track-analyse ${CMAKE_SOURCE_DIR}/tools/make-man.sh
      VERBATIM)
    list(APPEND ta_man_pages ${ta_man_dir}/track-analyse.1)
  endif()
  if(TA_DEBIAN_PACKAGE)
    # Debian keeps manual pages compressed, without a time stamp inside.
    set(ta_compressed)
    foreach(page ${ta_man_pages})
      add_custom_command(OUTPUT ${page}.gz COMMAND gzip -9nkf ${page} DEPENDS ${page} VERBATIM)
      list(APPEND ta_compressed ${page}.gz)
    endforeach()
    set(ta_man_pages ${ta_compressed})
  endif()
  add_custom_target(man_pages ALL DEPENDS ${ta_man_pages})
  install(FILES ${ta_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
  message(WARNING "help2man not found: the manual pages are not made (tools/install-deps.sh installs it)")
endif()

install(FILES ${CMAKE_SOURCE_DIR}/data/completions/trk.bash
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME trk)
# zsh looks in site-functions under /usr/local; Debian's zsh looks in
# vendor-completions under /usr.
if(TA_DEBIAN_PACKAGE)
  set(ta_zsh_completions ${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions)
else()
  set(ta_zsh_completions ${CMAKE_INSTALL_DATADIR}/zsh/site-functions)
endif()
install(FILES ${CMAKE_SOURCE_DIR}/data/completions/_trk DESTINATION ${ta_zsh_completions})
install(FILES ${CMAKE_SOURCE_DIR}/data/completions/trk.fish
        DESTINATION ${CMAKE_INSTALL_DATADIR}/fish/vendor_completions.d)

if(TARGET track-analyse)
  install(TARGETS track-analyse RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${CMAKE_SOURCE_DIR}/data/track-analyse.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  configure_file(${CMAKE_SOURCE_DIR}/data/${TA_APP_ID}.metainfo.xml.in
                 ${CMAKE_BINARY_DIR}/${TA_APP_ID}.metainfo.xml @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/${TA_APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  foreach(size 16 24 32 48 64 128 256)
    install(FILES ${CMAKE_SOURCE_DIR}/data/icons/${size}x${size}/track-analyse.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
  install(FILES ${CMAKE_SOURCE_DIR}/data/icons/scalable/track-analyse.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(FILES ${CMAKE_SOURCE_DIR}/data/velocitra-track.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
          RENAME track-analyse.xml)
  install(FILES ${CMAKE_SOURCE_DIR}/data/track-analyse.thumbnailer
          DESTINATION ${CMAKE_INSTALL_DATADIR}/thumbnailers)
endif()
