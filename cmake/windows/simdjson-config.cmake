# simdjson for the Windows build: its single-file amalgamation compiled as a static library, under
# the name Debian's package gives it (simdjson::simdjson). Warnings in its code are its own.
if(NOT TARGET simdjson::simdjson)
  add_library(ventora_simdjson STATIC ${VENTORA_SIMDJSON_AMALGAMATION}/simdjson.cpp)
  set_source_files_properties(${VENTORA_SIMDJSON_AMALGAMATION}/simdjson.cpp PROPERTIES COMPILE_OPTIONS -w)
  target_include_directories(ventora_simdjson SYSTEM PUBLIC ${VENTORA_SIMDJSON_AMALGAMATION})
  add_library(simdjson::simdjson ALIAS ventora_simdjson)
endif()
set(simdjson_FOUND TRUE)
