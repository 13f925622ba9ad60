# WEP keys and connecting: the portable key rules in both trees; the WEP key
# dialog and the connects of the real main window in process.
add_unit_test(wep_keys_test SOURCES unit/wep_keys_test.cpp LIBS vantra_core)
if(WIN32)
  add_unit_test(connect_forms_test APPLICATION
    SOURCES forms/mainfrm_harness.cpp forms/dialog_user.cpp forms/wep_dialog_test.cpp forms/connect_test.cpp
      $<TARGET_OBJECTS:vantra_resources>
    LIBS vantra_lib)
  # Beside the stand-ins that monitor_forms_test puts in the folder.
  set_target_properties(connect_forms_test PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/forms)
  add_dependencies(connect_forms_test monitor_forms_test)
  set_tests_properties(connect_forms_test PROPERTIES RESOURCE_LOCK vantra_session TIMEOUT 300)
endif()
if(WIN32)
  # The real program under Wine.
  string(REPLACE "/" "\\\\" connect_bin_dir "Z:${CMAKE_BINARY_DIR}/bin")
  add_unit_test(connect_e2e_test SOURCES e2e/sandbox.cpp e2e/screen.cpp e2e/remote_list.cpp e2e/connect_test.cpp
    LIBS advapi32 gdi32)
  target_compile_definitions(connect_e2e_test PRIVATE "BIN_DIR=\"${connect_bin_dir}\"")
  add_dependencies(connect_e2e_test Vantra standins_world)
  set_tests_properties(connect_e2e_test PROPERTIES RESOURCE_LOCK vantra_session TIMEOUT 400)
endif()
