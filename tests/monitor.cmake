if(WIN32)
  # The real main window in a test program, in a folder of its own beside
  # copies of the stand-in libraries, the default world and the sounds.
  set(forms_bin ${CMAKE_BINARY_DIR}/forms)
  add_unit_test(monitor_forms_test APPLICATION
    SOURCES forms/mainfrm_harness.cpp forms/monitor_test.cpp forms/frame_forms_test.cpp forms/linkinfo_test.cpp
      forms/tcpip_test.cpp $<TARGET_OBJECTS:vantra_resources>
    LIBS vantra_lib)
  set_target_properties(monitor_forms_test PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${forms_bin})
  needs_local_http(monitor_forms_test monitor_forms_test)

  # Whole lives of the utility, each with an application object of its own.
  add_unit_test(exit_forms_test
    SOURCES forms/mainfrm_harness.cpp forms/exit_test.cpp $<TARGET_OBJECTS:vantra_resources>
    LIBS vantra_lib)
  set_target_properties(exit_forms_test PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${forms_bin})
  add_dependencies(exit_forms_test monitor_forms_test) # which puts the stand-ins beside both
  set_tests_properties(exit_forms_test PROPERTIES RESOURCE_LOCK vantra_session TIMEOUT 300)
  add_custom_command(TARGET monitor_forms_test POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different
      $<TARGET_FILE:Belgrin> $<TARGET_FILE:Nicorra> $<TARGET_FILE:Nicorra9x> $<TARGET_FILE:KALWEP>
      ${PROJECT_SOURCE_DIR}/standins/standins.ini ${forms_bin}
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${PROJECT_SOURCE_DIR}/assets/sound ${forms_bin}/Sound)
  add_dependencies(monitor_forms_test Belgrin Nicorra Nicorra9x KALWEP)
  set_tests_properties(monitor_forms_test PROPERTIES RESOURCE_LOCK vantra_session TIMEOUT 300)
endif()
