# What the packages take from the build: the Debian package made by CPack
# (tools/build-deb.sh configures with -DTA_DEBIAN_PACKAGE=ON) and the numbers
# of the Windows installer (packaging/windows/track-analyse.nsi, made by
# tools/build-windows.sh). Both take the version from project(), as
# --version and the metainfo do.

# Where the project lives on the web; software centres show its screenshot
# from there.
set(TA_HOMEPAGE "https://example.org/track-analyse" CACHE STRING
    "Home page of the project, for the AppStream metainfo and the packages")
set(TA_PACKAGE_VENDOR "Track Analyse developers" CACHE STRING
    "Who makes the packages: the Windows installer's publisher")
set(TA_PACKAGE_CONTACT "track-analyse@example.org" CACHE STRING
    "Mail address of the Debian package's maintainer")
option(TA_DEBIAN_PACKAGE "Install as the Debian package lays files out (tools/build-deb.sh)" OFF)

if(WIN32)
  file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/installer/version.nsh @ONLY CONTENT [[
!define VERSION "@PROJECT_VERSION@"
!define PUBLISHER "@TA_PACKAGE_VENDOR@"
!define HOMEPAGE "@TA_HOMEPAGE@"
]])
endif()

if(TA_DEBIAN_PACKAGE AND NOT WIN32)
  set(ta_maintainer "${TA_PACKAGE_VENDOR} <${TA_PACKAGE_CONTACT}>")
  # A package of our own making is "native": its changelog is changelog.gz.
  execute_process(COMMAND date -u -R -d "${TA_RELEASE_DATE} 12:00"
                  OUTPUT_VARIABLE ta_changelog_date OUTPUT_STRIP_TRAILING_WHITESPACE
                  COMMAND_ERROR_IS_FATAL ANY)
  configure_file(${CMAKE_SOURCE_DIR}/packaging/debian/changelog.in
                 ${CMAKE_BINARY_DIR}/debian/changelog @ONLY)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/debian/changelog.gz
                     COMMAND gzip -9nkf ${CMAKE_BINARY_DIR}/debian/changelog
                     DEPENDS ${CMAKE_BINARY_DIR}/debian/changelog VERBATIM)
  add_custom_target(debian_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/debian/changelog.gz)
  install(FILES ${CMAKE_BINARY_DIR}/debian/changelog.gz
                ${CMAKE_SOURCE_DIR}/packaging/debian/copyright
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/track-analyse)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/debian/lintian-overrides
          DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME track-analyse)

  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGE_NAME track-analyse)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_PACKAGE_CONTACT "${ta_maintainer}")
  set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "viewer for the race tracks of Velocitra")
  # CPack puts the summary before it, indents it and marks the blank line.
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [[
Track Analyse opens a track file (.trk) of the racing game Velocitra, lists
what it holds (header values, author, lap-time results with their drivers,
the seven stored cars, the ghost lap) and draws its terrain map with a
caption. On request it draws the water, the objects and the best lap's ghost
over the map, saves the picture as JPEG or PNG and writes any of the stored
cars out as a .car file.

The package holds the window (track-analyse) and the command line (trk),
which runs the same actions on whole archives of tracks. File managers show
each track's picture as its thumbnail.]])
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${TA_HOMEPAGE}")
  # Depends from the libraries the programs link (dpkg-shlibdeps).
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # FLTK opens GTK 2 at run time for the desktop's file dialogs.
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS libgtk2.0-0)
  set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
  set(CPACK_STRIP_FILES ON)
  include(CPack)
endif()
