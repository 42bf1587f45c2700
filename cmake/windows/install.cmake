# The Windows programs as one folder (the portable zip and what the installer copies): the three
# programs, the Qt libraries and plugins they load, the MinGW runtime, and the licences.
# `cmake --install build-windows --prefix <folder>`.
set(ventora_qt ${VENTORA_QT_WINDOWS_PREFIX})
install(FILES ${ventora_qt}/bin/Qt6Core.dll ${ventora_qt}/bin/Qt6Gui.dll ${ventora_qt}/bin/Qt6Widgets.dll
              ${ventora_qt}/bin/Qt6PrintSupport.dll ${VENTORA_MINGW_RUNTIME}
        DESTINATION .)
# The screen (ventora-report draws the book's pages through it too, showing no window) and the
# Windows look. PNG, the only image format read, is built into Qt Gui: no image plugins.
install(FILES ${ventora_qt}/plugins/platforms/qwindows.dll DESTINATION platforms)
install(FILES ${ventora_qt}/plugins/styles/qwindowsvistastyle.dll DESTINATION styles)
# Qt's Chinese for standard buttons (确定, 是, 否), beside the programs.
install(FILES ${ventora_qt}/translations/qtbase_zh_CN.qm DESTINATION translations)

install(FILES ${PROJECT_SOURCE_DIR}/data/copyright DESTINATION licenses RENAME ventora.txt)
install(FILES ${PROJECT_SOURCE_DIR}/data/media/LICENSE-chemicals.txt DESTINATION licenses)
install(FILES ${PROJECT_SOURCE_DIR}/data/media/README.md DESTINATION licenses RENAME media-sources.md)
install(FILES ${ventora_qt}/LICENSES/LGPL-3.0-only.txt ${ventora_qt}/LICENSES/GPL-3.0-only.txt
        DESTINATION licenses/qt)
if(EXISTS ${VENTORA_SIMDJSON_AMALGAMATION}/../LICENSE)
  install(FILES ${VENTORA_SIMDJSON_AMALGAMATION}/../LICENSE DESTINATION licenses RENAME simdjson.txt)
endif()
# GCC's runtime library exception covers libstdc++ and libgcc; winpthreads is MIT/BSD.
foreach(dir /usr/share/doc/gcc-mingw-w64-base /usr/share/doc/mingw-w64-common)
  if(EXISTS ${dir}/copyright)
    get_filename_component(name ${dir} NAME)
    install(FILES ${dir}/copyright DESTINATION licenses RENAME ${name}.txt)
  endif()
endforeach()
