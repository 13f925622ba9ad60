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
