# The Windows build, cross-compiled with mingw-w64 against a Qt built for it
# (scripts/package-windows.sh prepares both). Its programs run here under Wine: the build's own
# generator (media_table_gen), the tests through ctest, and the smoke run of the packages.
#
# - Wine is the cross-compiling emulator: a script written into the build folder that runs a
#   program with the Qt DLLs, the MinGW runtime and Qt's plugins found, in Wine's Chinese code
#   page (LC_ALL=zh_CN.UTF-8 gives ANSI code page 936, as on a Chinese Windows).
# - simdjson: Debian ships no Windows library, so the single-file amalgamation from its source
#   package is compiled into the programs (VENTORA_SIMDJSON_AMALGAMATION, the folder holding
#   simdjson.h and simdjson.cpp).
# - GoogleTest from its source, /usr/src/googletest.

if(NOT QT6_INSTALL_PREFIX)
  get_filename_component(QT6_INSTALL_PREFIX "${Qt6_DIR}/../../.." ABSOLUTE)
endif()
set(VENTORA_QT_WINDOWS_PREFIX "${QT6_INSTALL_PREFIX}" CACHE PATH "Qt for Windows")

# The MinGW runtime the programs and Qt link: found beside the compiler.
set(ventora_mingw_runtime)
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                  OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
  get_filename_component(path "${path}" REALPATH)
  if(NOT EXISTS "${path}")
    message(FATAL_ERROR "The MinGW runtime ${dll} is not where the compiler says (${path})")
  endif()
  list(APPEND ventora_mingw_runtime "${path}")
endforeach()
set(VENTORA_MINGW_RUNTIME "${ventora_mingw_runtime}" CACHE INTERNAL "")

set(VENTORA_WINEPREFIX "$ENV{HOME}/.cache/ventora/wine" CACHE PATH
    "Wine prefix the Windows programs run in (created on first use)")
find_program(VENTORA_WINE NAMES wine64 wine PATHS /usr/lib/wine)
if(NOT VENTORA_WINE)
  message(FATAL_ERROR "Wine is needed to build and test the Windows programs (wine, wine64)")
endif()
set(ventora_dll_dirs "${VENTORA_QT_WINDOWS_PREFIX}/bin")
foreach(path IN LISTS ventora_mingw_runtime)
  get_filename_component(dir "${path}" DIRECTORY)
  list(APPEND ventora_dll_dirs "${dir}")
endforeach()
list(REMOVE_DUPLICATES ventora_dll_dirs)
set(ventora_winepath)
foreach(dir IN LISTS ventora_dll_dirs)
  string(REPLACE "/" "\\\\" dir "Z:${dir}")
  list(APPEND ventora_winepath "${dir}")
endforeach()
string(JOIN "\;" VENTORA_WINEPATH ${ventora_winepath})
configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh
               @ONLY FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
               WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh)

# A Windows program as a command for the test scripts, which run their program by path:
# <build>/wine/<name> runs <name>.exe under Wine.
function(ventora_wine_command target out_var)
  set(script ${CMAKE_BINARY_DIR}/wine/${target})
  file(GENERATE OUTPUT ${script}
       CONTENT "#!/bin/sh\nexec '${CMAKE_BINARY_DIR}/wine-run.sh' '$<TARGET_FILE:${target}>' \"$@\"\n"
       FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                        WORLD_READ WORLD_EXECUTE)
  set(${out_var} ${script} PARENT_SCOPE)
endfunction()

# simdjson from its amalgamation: the same find_package(simdjson) the Linux build uses finds
# cmake/windows/simdjson-config.cmake.
set(VENTORA_SIMDJSON_AMALGAMATION "" CACHE PATH "Folder with simdjson.h and simdjson.cpp")
if(NOT EXISTS "${VENTORA_SIMDJSON_AMALGAMATION}/simdjson.cpp")
  message(FATAL_ERROR "VENTORA_SIMDJSON_AMALGAMATION must name the folder with simdjson.cpp and "
                      "simdjson.h (singleheader/ of Debian's simdjson source package)")
endif()
set(simdjson_DIR ${CMAKE_CURRENT_LIST_DIR} CACHE PATH "" FORCE)

# GoogleTest from source, built with the programs. Tests are listed when ctest runs, not while
# building, so a build needs no Wine for that.
if(BUILD_TESTING)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  set(GTest_FOUND TRUE)
  set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
endif()

# The Windows programs are GUI programs (no console window) except the two command-line tools;
# their MinGW and Qt libraries are found beside them (the packages put them there).
enable_language(RC)
include(${CMAKE_CURRENT_LIST_DIR}/resources.cmake)
