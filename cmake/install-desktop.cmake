# Installs the desktop tool where a Linux desktop finds it: the executable,
# its menu entry, its icon, and the MIME type of ".trk" files, which the menu
# entry opens. The desktop's caches pick these up on their next update
# (update-desktop-database, update-mime-database, gtk-update-icon-cache);
# packagers run those, so the install itself stays free of side effects.
if(TARGET track-analyse)
  install(TARGETS track-analyse RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${CMAKE_SOURCE_DIR}/data/track-analyse.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  foreach(size 48x48 256x256)
    install(FILES ${CMAKE_SOURCE_DIR}/data/icons/${size}/track-analyse.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}/apps)
  endforeach()
  install(FILES ${CMAKE_SOURCE_DIR}/data/velocitra-track.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
          RENAME track-analyse.xml)
endif()
