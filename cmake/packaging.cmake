# Installation beside the two programs (desktop entry, icon theme, AppStream metainfo, the case
# files' MIME type) and the Debian package: `cmake --install build` or
# `cpack --config build/CPackConfig.cmake`.

if(VENTORA_BUILD_GUI)
  install(FILES ${PROJECT_SOURCE_DIR}/data/com.corvalent.ventora.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${PROJECT_SOURCE_DIR}/data/com.corvalent.ventora.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  # The case files' type (*.ventora); shared-mime-info's trigger rebuilds the database when the
  # package installs it.
  install(FILES ${PROJECT_SOURCE_DIR}/data/com.corvalent.ventora.mime.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
          RENAME com.corvalent.ventora.xml)
  foreach(size 16 32 48 64 128 256)
    install(FILES ${PROJECT_SOURCE_DIR}/data/icons/hicolor/${size}x${size}/apps/ventora.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
  install(FILES ${PROJECT_SOURCE_DIR}/data/icons/ventora.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()
# A Debian package names its licence in machine-readable form at this place.
install(FILES ${PROJECT_SOURCE_DIR}/data/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${PROJECT_NAME})

# The medium table is built into both programs: its sources and the licence of the files it was
# taken from go with them.
install(FILES ${PROJECT_SOURCE_DIR}/data/media/LICENSE-chemicals.txt
              ${PROJECT_SOURCE_DIR}/data/media/README.md
        DESTINATION ${CMAKE_INSTALL_DOCDIR}/media)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ventora)
set(CPACK_PACKAGE_VENDOR Corvalent)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Corvalent <ventora@corvalent.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "pressure vessel safety valve and bursting disc calculator")
set(CPACK_PACKAGE_DESCRIPTION
    "Ventora sizes the over-pressure protection of pressure vessels under the 1999 edition of the
Chinese pressure vessel safety regulation: the vessel's safety relief rate, then a safety valve
(flow area, discharge capacity and its check) or a bursting disc (minimum discharge area).
The interface is Simplified Chinese. ventora-calc runs the same calculations in batch.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The Qt libraries come from dpkg-shlibdeps. The X11 platform plugin and a Chinese face are not
# linked libraries, but the windows cannot open or read without them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, fonts-wqy-microhei | fonts-wqy-zenhei | fonts-noto-cjk | fonts-arphic-uming")
# Qt's own Chinese for standard buttons; Writer opens the calculation report; hardinfo is the
# system-information tool the About dialog starts.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, libreoffice-writer")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "hardinfo")
include(CPack)
