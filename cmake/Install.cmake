# Installing as a desktop application: the program, its desktop entry, icons
# in the hicolor theme, the AppStream metainfo and the man page; CPack makes a
# Debian package of the same tree. The icons are drawn by assets/.
include(GNUInstallDirs)

set(SEEKER_DATA_DIR ${CMAKE_SOURCE_DIR}/data)
set(SEEKER_APP_ID org.seeker.Seeker)

if(TARGET seeker)
  install(TARGETS seeker RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(FILES ${SEEKER_DATA_DIR}/seeker.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${SEEKER_DATA_DIR}/${SEEKER_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${SEEKER_DATA_DIR}/seeker.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
foreach(size ${SEEKER_ICON_SIZES})
  install(FILES ${SEEKER_ICON_DIR}/seeker-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME seeker.png)
endforeach()

# cpack -G DEB: the dependencies are worked out from the libraries the
# installed program links (dpkg-shlibdeps).
set(CPACK_PACKAGE_NAME seeker)
set(CPACK_PACKAGE_VENDOR "The Seeker developers")
set(CPACK_PACKAGE_CONTACT "The Seeker developers <seeker@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Search torrent sites for magnet and ed2k links")
set(CPACK_PACKAGE_DESCRIPTION
    "A desktop search tool that reads the result pages of eight torrent-search sites and lists the hits with their magnet and ed2k links; also a command-line search.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Opening links in the torrent client and the CJK texts of the window.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, fonts-wqy-microhei")
include(CPack)
