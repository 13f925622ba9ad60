# The profile store's list rules and the dotted-address rules, in both trees.
add_unit_test(profile_rules_test SOURCES unit/profile_rules_test.cpp unit/ip_address_test.cpp LIBS vantra_core)

if(WIN32)
  # The Profiles page and the address fields on the real main window, beside
  # the stand-ins that monitor_forms_test puts in the forms folder.
  add_unit_test(profiles_forms_test APPLICATION
    SOURCES forms/mainfrm_harness.cpp forms/dialog_user.cpp forms/profiles_test.cpp forms/address_fields_test.cpp
      $<TARGET_OBJECTS:vantra_resources>
    LIBS vantra_lib)
  set_target_properties(profiles_forms_test PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/forms)
  add_dependencies(profiles_forms_test monitor_forms_test)
  set_tests_properties(profiles_forms_test PROPERTIES RESOURCE_LOCK vantra_session TIMEOUT 300)

  # The real Vantra.exe lists the store and deletes through its button.
  string(REPLACE "/" "\\\\" profiles_bin_dir "Z:${CMAKE_BINARY_DIR}/bin")
  add_unit_test(profiles_e2e_test SOURCES e2e/sandbox.cpp e2e/screen.cpp e2e/remote_list.cpp e2e/profiles_test.cpp
    LIBS advapi32 gdi32)
  target_compile_definitions(profiles_e2e_test PRIVATE "BIN_DIR=\"${profiles_bin_dir}\"")
  add_dependencies(profiles_e2e_test Vantra)
  set_tests_properties(profiles_e2e_test PROPERTIES RESOURCE_LOCK vantra_session TIMEOUT 300)
endif()
