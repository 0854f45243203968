# Installing as a desktop application: the program, its desktop entry, icons
# in the hicolor theme, the AppStream metainfo and the man page; CPack makes a
# Debian package of the same tree.
include(GNUInstallDirs)

set(SEEKER_DATA_DIR ${CMAKE_SOURCE_DIR}/data)
set(SEEKER_ICON_SIZES 16 22 24 32 48 64 128 256)
set(SEEKER_APP_ID org.seeker.Seeker)

find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(icon_dir ${CMAKE_BINARY_DIR}/icons)
set(icon_files)
foreach(size ${SEEKER_ICON_SIZES})
  list(APPEND icon_files ${icon_dir}/seeker-${size}.png)
endforeach()
add_custom_command(
  OUTPUT ${icon_files}
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/assets/draw_icons.py ${icon_dir} ${SEEKER_ICON_SIZES}
  DEPENDS ${CMAKE_SOURCE_DIR}/assets/draw_icons.py ${CMAKE_SOURCE_DIR}/assets/draw_assets.py
  COMMENT "Drawing the application icons"
  VERBATIM)
add_custom_target(seeker_icons ALL DEPENDS ${icon_files})

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
  install(FILES ${icon_dir}/seeker-${size}.png
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
