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
if(WIN32)
  # The painters: frame by frame against ImageMagick's coalesced frames, their
  # timing, pausing and stopping, and images freed while they play.
  # ImageMagick's composition of each animation is made before the test,
  # from generated animations and the real files of gif_render_refs.
  set(gif_coalesce ${CMAKE_BINARY_DIR}/gif_coalesce_refs)
  add_test(NAME gif_coalesce_refs
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/gif_coalesce_refs.sh ${gif_coalesce} ${gif_refs}/real/files)
  set_tests_properties(gif_coalesce_refs PROPERTIES FIXTURES_SETUP gif_coalesce_refs FIXTURES_REQUIRED gif_render_refs)
  add_unit_test(gif_painter_test APPLICATION SOURCES unit/gif_painter_win32_test.cpp LIBS gifimage psapi)
  target_compile_definitions(gif_painter_test PRIVATE GIF_COALESCE="Z:${gif_coalesce}")
  set_tests_properties(gif_painter_test PROPERTIES FIXTURES_REQUIRED gif_coalesce_refs)
endif()
