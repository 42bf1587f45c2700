# Installation beside the two programs (desktop entry, icon theme, AppStream metainfo, the case
# files' MIME type) and the Debian package: `cmake --install build` or
# `cpack --config build/CPackConfig.cmake`.

# Windows: one folder, packed by scripts/package-windows.sh as the zip and the installer.
if(WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/windows/install.cmake)
  return()
endif()

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

# A native Debian package keeps its changelog and the manual pages compressed (gzip -9n: no name
# or time stamp, so the same sources give the same package).
set(ventora_doc ${PROJECT_BINARY_DIR}/debian-doc)
configure_file(${PROJECT_SOURCE_DIR}/data/changelog.in ${ventora_doc}/changelog @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/data/man/ventora.1 ${ventora_doc}/ventora.1 @ONLY)
set(ventora_doc_files ${ventora_doc}/changelog.gz)
set(ventora_man_pages ventora)
find_program(HELP2MAN help2man)
if(HELP2MAN AND NOT CMAKE_CROSSCOMPILING)
  # The tools' manual pages from their --help.
  set(ventora-calc_name "run the pressure-vessel relief calculations from JSON Lines")
  set(ventora-report_name "write the calculation book of route requests")
  foreach(tool ventora-calc ventora-report)
    if(TARGET ${tool})
      add_custom_command(OUTPUT ${ventora_doc}/${tool}.1
        COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
                ${HELP2MAN} --no-info --no-discard-stderr --version-string=${PROJECT_VERSION}
                --name=${${tool}_name} --output=${ventora_doc}/${tool}.1 $<TARGET_FILE:${tool}>
        DEPENDS ${tool} VERBATIM)
      list(APPEND ventora_man_pages ${tool})
    endif()
  endforeach()
else()
  message(STATUS "help2man not found: the package has no manual pages for ventora-calc and ventora-report")
endif()
foreach(page IN LISTS ventora_man_pages)
  add_custom_command(OUTPUT ${ventora_doc}/${page}.1.gz
    COMMAND gzip -9nc ${ventora_doc}/${page}.1 > ${ventora_doc}/${page}.1.gz
    DEPENDS ${ventora_doc}/${page}.1 VERBATIM)
  list(APPEND ventora_doc_files ${ventora_doc}/${page}.1.gz)
  install(FILES ${ventora_doc}/${page}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
add_custom_command(OUTPUT ${ventora_doc}/changelog.gz
  COMMAND gzip -9nc ${ventora_doc}/changelog > ${ventora_doc}/changelog.gz
  DEPENDS ${ventora_doc}/changelog VERBATIM)
add_custom_target(ventora_debian_doc ALL DEPENDS ${ventora_doc_files})
install(FILES ${ventora_doc}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${PROJECT_NAME})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ventora)
set(CPACK_PACKAGE_VENDOR Corvalent)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Corvalent <ventora@corvalent.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "pressure vessel safety valve and bursting disc calculator")
# Lines of at most 80 columns, as Debian's tools read them.
set(CPACK_PACKAGE_DESCRIPTION
    "Ventora sizes the over-pressure protection of pressure vessels under the 1999
edition of the Chinese pressure vessel safety regulation: the vessel's safety
relief rate, then a safety valve (flow area, discharge capacity and its check)
or a bursting disc (minimum discharge area). The interface is Simplified
Chinese. ventora-calc runs the same calculations in batch, ventora-report
writes their calculation book.")
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
