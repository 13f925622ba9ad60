# The stand-in libraries, loaded as the utility loads them, and their export
# tables read with objdump.
if(WIN32)
  file(RELATIVE_PATH standins_bin ${CMAKE_CURRENT_BINARY_DIR} ${CMAKE_BINARY_DIR}/bin)
  add_unit_test(standins_test SOURCES unit/standins_test.cpp)
  target_compile_definitions(standins_test PRIVATE STANDINS_BIN="${standins_bin}")
  add_dependencies(standins_test Belgrin Nicorra Nicorra9x KALWEP Vorlex rondsvc standins_world)

  add_test(NAME standins_exports
    COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${MINGW_TRIPLE}-objdump
            "-DDLLS=$<TARGET_FILE:Belgrin>;$<TARGET_FILE:Nicorra>;$<TARGET_FILE:Nicorra9x>;$<TARGET_FILE:KALWEP>"
            -P ${CMAKE_SOURCE_DIR}/cmake/check_exports.cmake)
endif()
