# The setup wizard: its JPEG pictures against djpeg.
if(WIN32)
  # Sample files made at build time by other programs (jpeg_samples.sh).
  set(jpeg_samples ${CMAKE_BINARY_DIR}/jpeg_samples)
  add_custom_command(OUTPUT ${jpeg_samples}/stamp
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/jpeg_samples.sh ${jpeg_samples}
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/jpeg_samples.sh
    COMMENT "Making JPEG sample files")
  add_custom_target(jpeg_samples DEPENDS ${jpeg_samples}/stamp)
  add_unit_test(jpeg_image_test SOURCES unit/jpeg_image_test.cpp LIBS setup_jpeg)
  target_compile_definitions(jpeg_image_test PRIVATE JPEG_SAMPLES="Z:${jpeg_samples}")
  add_dependencies(jpeg_image_test jpeg_samples)
endif()

if(WIN32)
  # The real wizard on copies of the simulated disc. The wizard is one per
  # session and shares the registry, the system folder and the screen with
  # the utility's session tests: one of them at a time.
  string(REPLACE "/" "\\\\" disc_dir "Z:${CMAKE_BINARY_DIR}/disc")
  add_unit_test(setup_e2e_test SOURCES e2e/sandbox.cpp e2e/screen.cpp e2e/setup_test.cpp
    LIBS toolkit advapi32 gdi32 shlwapi)
  target_compile_definitions(setup_e2e_test PRIVATE "BIN_DIR=\"${disc_dir}\"")
  add_dependencies(setup_e2e_test setup_disc)
  set_tests_properties(setup_e2e_test PROPERTIES RESOURCE_LOCK vantra_session TIMEOUT 600)
endif()

if(WIN32)
  # The wizard's windows in a test program, run in the simulated disc's
  # folder (the licence, the sounds' folder); it holds the wizard's mutex,
  # and it moves the pointer of the screen that the utility's form tests
  # move too: one session test at a time.
  add_unit_test(setup_forms_test APPLICATION SOURCES forms/setup_forms_test.cpp forms/dialog_user.cpp $<TARGET_OBJECTS:setup_resources> LIBS setup_lib)
  add_dependencies(setup_forms_test setup_disc)
  set_tests_properties(setup_forms_test PROPERTIES RESOURCE_LOCK vantra_session TIMEOUT 300
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/disc)
endif()
