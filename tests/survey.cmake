# The site survey: its table and row texts in both trees, and the page of
# the real main window.
add_unit_test(survey_table_test SOURCES unit/survey_table_test.cpp LIBS vantra_core)
if(WIN32)
  # Beside the stand-ins that monitor_forms_test puts into the forms folder.
  add_unit_test(survey_forms_test APPLICATION
    SOURCES forms/mainfrm_harness.cpp forms/survey_test.cpp $<TARGET_OBJECTS:vantra_resources>
    LIBS vantra_lib)
  set_target_properties(survey_forms_test PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/forms)
  add_dependencies(survey_forms_test monitor_forms_test)
  set_tests_properties(survey_forms_test PROPERTIES RESOURCE_LOCK vantra_session TIMEOUT 300)
endif()
if(WIN32)
  # The real program under Wine.
  string(REPLACE "/" "\\\\" survey_bin_dir "Z:${CMAKE_BINARY_DIR}/bin")
  add_unit_test(survey_e2e_test SOURCES e2e/sandbox.cpp e2e/screen.cpp e2e/survey_test.cpp LIBS advapi32 gdi32)
  target_compile_definitions(survey_e2e_test PRIVATE "BIN_DIR=\"${survey_bin_dir}\"")
  add_dependencies(survey_e2e_test Vantra standins_world)
  set_tests_properties(survey_e2e_test PROPERTIES RESOURCE_LOCK vantra_session TIMEOUT 300)
endif()
