add_unit_test(records_test SOURCES unit/records_test.cpp LIBS vantra_core)
add_unit_test(link_text_test SOURCES unit/link_text_test.cpp LIBS vantra_core)
if(WIN32)
  add_unit_test(registry_reader_test APPLICATION SOURCES unit/registry_reader_test.cpp LIBS vantra_lib)
  add_unit_test(wlan_ini_test APPLICATION SOURCES unit/wlan_ini_test.cpp LIBS vantra_lib)

  # The real programs, started from the test under the same Wine; one at a
  # time, as the utility allows one copy per session.
  string(REPLACE "/" "\\\\" bin_dir "Z:${CMAKE_BINARY_DIR}/bin")
  add_unit_test(vantra_e2e_test SOURCES e2e/sandbox.cpp e2e/startup_test.cpp e2e/device_test.cpp
    e2e/skin_test.cpp e2e/version_test.cpp e2e/screen.cpp e2e/tray_test.cpp e2e/crowded_world_test.cpp
    e2e/linkinfo_test.cpp e2e/animation_test.cpp LIBS advapi32 gdi32)
  target_compile_definitions(vantra_e2e_test PRIVATE "BIN_DIR=\"${bin_dir}\"")
  add_dependencies(vantra_e2e_test Vantra)
  set_tests_properties(vantra_e2e_test PROPERTIES RESOURCE_LOCK vantra_session TIMEOUT 600)
  needs_local_http(vantra_e2e_test vantra_e2e_test)
endif()
