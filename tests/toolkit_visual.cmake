if(WIN32)
  # A bitmap resource and a form-data resource packed at build time from it.
  set(visual_dir ${CMAKE_CURRENT_BINARY_DIR}/toolkit_visual)
  set(sample ${CMAKE_CURRENT_SOURCE_DIR}/unit/toolkit_visual_sample.bmp)
  toolkit_form_data(OUTPUT ${visual_dir}/TPackedForm.dat ENTRIES Img_Packed=TBitmap:${sample})
  file(WRITE ${visual_dir}/toolkit_visual.rc.in
    "1 BITMAP \"${sample}\"\nTPACKEDFORM RCDATA \"${visual_dir}/TPackedForm.dat\"\n")
  configure_file(${visual_dir}/toolkit_visual.rc.in ${visual_dir}/toolkit_visual.rc COPYONLY)
  set_source_files_properties(${visual_dir}/toolkit_visual.rc PROPERTIES OBJECT_DEPENDS ${visual_dir}/TPackedForm.dat)
  add_unit_test(toolkit_visual_test APPLICATION
    SOURCES unit/toolkit_visual_test.cpp ${visual_dir}/toolkit_visual.rc
    LIBS toolkit)
  add_unit_test(toolkit_controls_test APPLICATION SOURCES forms/toolkit_controls_test.cpp LIBS toolkit)
  # It types into a pop-up menu through the keyboard of the screen that every
  # test shares: a window that another test shows meanwhile would take the keys.
  set_tests_properties(toolkit_controls_test PROPERTIES RUN_SERIAL TRUE)
endif()

if(WIN32)
  # The skin as the utility's resources carry it.
  add_unit_test(toolkit_skin_test APPLICATION SOURCES forms/toolkit_skin_test.cpp forms/toolkit_skin_test.rc LIBS toolkit)
  target_include_directories(toolkit_skin_test PRIVATE ${PROJECT_SOURCE_DIR}/assets)
  set_source_files_properties(forms/toolkit_skin_test.rc PROPERTIES OBJECT_DEPENDS "${skin_resource_files}")
endif()
