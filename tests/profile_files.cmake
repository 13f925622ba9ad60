# Profile files and their key cipher, in both trees: natively over the
# toolkit's own INI reader under the sanitizers, on Windows over the
# profile API.
add_unit_test(profile_file_test SOURCES unit/profile_file_test.cpp LIBS vantra_core)
if(WIN32)
  target_link_libraries(profile_file_test PRIVATE toolkit) # TIniFile over the profile API
endif()

# The import of a profile file under libFuzzer, natively with clang: the
# profile-file reader and the INI reader it reads with are compiled in
# (add_fuzz_test), and its dictionary names the file's sections and keys.
if(NOT WIN32 AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  add_fuzz_test(cfg_import_fuzz RUNS 1500 COMPILED vantra_core toolkit_core)
endif()

if(WIN32)
  # The profile wizard, export and import on the real main window, beside
  # the stand-ins that monitor_forms_test puts in the forms folder.
  add_unit_test(wizard_forms_test APPLICATION
    SOURCES forms/mainfrm_harness.cpp forms/dialog_user.cpp forms/wizard_test.cpp forms/profile_files_test.cpp
      $<TARGET_OBJECTS:vantra_resources>
    LIBS vantra_lib)
  set_target_properties(wizard_forms_test PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/forms)
  add_dependencies(wizard_forms_test monitor_forms_test)
  set_tests_properties(wizard_forms_test PROPERTIES RESOURCE_LOCK vantra_session TIMEOUT 300)
endif()

if(WIN32)
  # The real program under Wine: export and import through the real common
  # dialogs, and the wizard's pages photographed.
  string(REPLACE "/" "\\\\" profile_files_bin_dir "Z:${CMAKE_BINARY_DIR}/bin")
  add_unit_test(profile_files_e2e_test
    SOURCES e2e/sandbox.cpp e2e/screen.cpp e2e/remote_list.cpp e2e/profile_files_test.cpp LIBS advapi32 gdi32)
  target_compile_definitions(profile_files_e2e_test PRIVATE "BIN_DIR=\"${profile_files_bin_dir}\"")
  add_dependencies(profile_files_e2e_test Vantra standins_world)
  set_tests_properties(profile_files_e2e_test PROPERTIES RESOURCE_LOCK vantra_session TIMEOUT 300)
endif()
