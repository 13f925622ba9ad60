# The GIF frame: its pixel work in both trees (natively under the sanitizers).
add_unit_test(gif_frame_test SOURCES unit/gif_frame_test.cpp LIBS gifimage_core)
if(WIN32)
  # Rendering, drawing and import, read back from real bitmaps.
  add_unit_test(gif_frame_win32_test APPLICATION SOURCES unit/gif_frame_win32_test.cpp LIBS gifimage)
  # Frames rendered alone against ImageMagick's decoding of them: the list and
  # ImageMagick's pixels are made before the test, real files fetched once.
  set(gif_refs ${CMAKE_BINARY_DIR}/gif_render_refs)
  add_test(NAME gif_render_refs COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/gif_render_refs.sh ${gif_refs})
  set_tests_properties(gif_render_refs PROPERTIES FIXTURES_SETUP gif_render_refs)
  add_unit_test(gif_render_compare_test APPLICATION SOURCES unit/gif_render_compare_win32_test.cpp LIBS gifimage)
  target_compile_definitions(gif_render_compare_test PRIVATE GIF_REFS="Z:${gif_refs}")
  set_tests_properties(gif_render_compare_test PROPERTIES FIXTURES_REQUIRED gif_render_refs)
endif()
