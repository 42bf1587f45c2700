# A Windows program's resources: the program icon (from data/icons, as on Linux) and its version.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(ventora_ico ${CMAKE_BINARY_DIR}/ventora.ico)
set(ventora_ico_pngs)
foreach(size 16 32 48 64 128 256)
  list(APPEND ventora_ico_pngs ${PROJECT_SOURCE_DIR}/data/icons/hicolor/${size}x${size}/apps/ventora.png)
endforeach()
add_custom_command(OUTPUT ${ventora_ico}
  COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/cmake/windows/make-ico.py ${ventora_ico} ${ventora_ico_pngs}
  DEPENDS ${ventora_ico_pngs} ${PROJECT_SOURCE_DIR}/cmake/windows/make-ico.py
  COMMENT "The program icon for Windows" VERBATIM)
add_custom_target(ventora_icon DEPENDS ${ventora_ico})

function(ventora_windows_resources target)
  set(VENTORA_ICO ${ventora_ico})
  set(VENTORA_FILE_DESCRIPTION "${ARGV1}")
  if(NOT VENTORA_FILE_DESCRIPTION)
    set(VENTORA_FILE_DESCRIPTION "Ventora 安全泄放计算")
  endif()
  set(VENTORA_EXE "$<TARGET_FILE_NAME:${target}>")
  string(REPLACE "." "," VENTORA_VERSION_COMMAS "${PROJECT_VERSION}")
  configure_file(${PROJECT_SOURCE_DIR}/cmake/windows/program.rc.in
                 ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc.in @ONLY)
  file(GENERATE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc
       INPUT ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc.in)
  target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
  set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/${target}.rc PROPERTIES OBJECT_DEPENDS ${ventora_ico})
  add_dependencies(${target} ventora_icon)
endfunction()
