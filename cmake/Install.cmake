# The Windows build makes an installer and a portable zip instead.
if(WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/windows/Package.cmake)
  return()
endif()

# Installing as a desktop application: the program, its desktop entry, icons
# in the hicolor theme, the AppStream metainfo, the man page, the copyright
# file and the changelog (the component "program"), and the program's debug
# information, split off the installed program (the component "debug").
# CPack makes a Debian package of each: seeker and seeker-dbgsym. The icons
# are drawn by assets/.
include(GNUInstallDirs)
set(CMAKE_INSTALL_DEFAULT_COMPONENT_NAME program)

set(SEEKER_DATA_DIR ${CMAKE_SOURCE_DIR}/data)
set(SEEKER_APP_ID org.seeker.Seeker)
set(SEEKER_PACKAGE_MAINTAINER "Seeker maintainers <maintainers@seeker.example.org>" CACHE STRING
    "Name and e-mail address of the package's maintainer (Debian control and changelog)")

# The documents as Debian ships them: the man page and the changelog
# compressed without a time stamp, the copyright file as it is.
find_program(SEEKER_GZIP gzip REQUIRED)
set(SEEKER_DOC_DIR ${CMAKE_BINARY_DIR}/doc)
configure_file(${SEEKER_DATA_DIR}/copyright.in ${SEEKER_DOC_DIR}/copyright @ONLY)
configure_file(${SEEKER_DATA_DIR}/changelog.in ${SEEKER_DOC_DIR}/changelog @ONLY)
set(seeker_gzipped)
foreach(doc ${SEEKER_DATA_DIR}/seeker.1 ${SEEKER_DOC_DIR}/changelog)
  get_filename_component(name ${doc} NAME)
  add_custom_command(OUTPUT ${SEEKER_DOC_DIR}/${name}.gz
    COMMAND sh -c "'${SEEKER_GZIP}' -9n < '${doc}' > '${SEEKER_DOC_DIR}/${name}.gz'"
    DEPENDS ${doc} VERBATIM)
  list(APPEND seeker_gzipped ${SEEKER_DOC_DIR}/${name}.gz)
endforeach()
add_custom_target(seeker_docs ALL DEPENDS ${seeker_gzipped})

install(TARGETS seeker RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(NOT WIN32)
  foreach(part program debug)
    install(CODE "set(SEEKER_OBJCOPY \"${CMAKE_OBJCOPY}\")
                  set(SEEKER_READELF \"${CMAKE_READELF}\")
                  set(SEEKER_UNSTRIPPED \"$<TARGET_FILE:seeker>\")
                  set(SEEKER_INSTALLED \"${CMAKE_INSTALL_BINDIR}/$<TARGET_FILE_NAME:seeker>\")
                  set(SEEKER_SPLIT_PART ${part})"
            COMPONENT ${part})
    install(SCRIPT ${CMAKE_SOURCE_DIR}/cmake/SplitDebugInfo.cmake COMPONENT ${part})
  endforeach()
  # The debug package's documents are the program's.
  install(CODE "file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/doc\")
                file(CREATE_LINK seeker
                     \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/doc/seeker-dbgsym\"
                     SYMBOLIC)"
          COMPONENT debug)
endif()
install(FILES ${SEEKER_DATA_DIR}/seeker.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${SEEKER_DATA_DIR}/${SEEKER_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${SEEKER_DOC_DIR}/seeker.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${SEEKER_DOC_DIR}/copyright ${SEEKER_DOC_DIR}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
foreach(size ${SEEKER_ICON_SIZES})
  install(FILES ${SEEKER_ICON_DIR}/seeker-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME seeker.png)
endforeach()

# cpack -G DEB: the dependencies are worked out from the libraries the
# installed program links (dpkg-shlibdeps), plus a font for the Chinese
# texts, without which every one is boxes.
set(CPACK_PACKAGE_NAME seeker)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL program debug)
set(CPACK_DEBIAN_PROGRAM_PACKAGE_NAME seeker)
set(CPACK_DEBIAN_DEBUG_PACKAGE_NAME seeker-dbgsym)
set(CPACK_PACKAGE_VENDOR "The Seeker developers")
set(CPACK_PACKAGE_CONTACT "${SEEKER_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${SEEKER_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PROGRAM_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PROGRAM_PACKAGE_DEPENDS "fonts-wqy-microhei | fonts-wqy-zenhei | fonts-noto-cjk")
# Opening links in the torrent client.
set(CPACK_DEBIAN_PROGRAM_PACKAGE_RECOMMENDS "xdg-utils")
# The debug information of exactly this program, where debuggers look for it.
set(CPACK_DEBIAN_DEBUG_PACKAGE_SECTION debug)
set(CPACK_DEBIAN_DEBUG_PACKAGE_DEPENDS "seeker (= ${PROJECT_VERSION})")
include(CPack)
# Each package's description begins with its summary line.
cpack_add_component(program DISPLAY_NAME "Seeker"
  DESCRIPTION "Search torrent sites for magnet and ed2k links
A desktop search tool that reads the result pages of eight torrent-search
sites and lists the hits with their magnet and ed2k links. It also searches
from the command line.")
cpack_add_component(debug DISPLAY_NAME "Seeker's debug symbols"
  DESCRIPTION "debug symbols for seeker
The debug information of the seeker program, where debuggers find it by the
program's build id.")
