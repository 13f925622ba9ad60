# The GIF frame: its pixel work in both trees (natively under the sanitizers).
add_unit_test(gif_frame_test SOURCES unit/gif_frame_test.cpp LIBS gifimage_core)
if(WIN32)
  # Rendering, drawing and import, read back from real bitmaps.
  add_unit_test(gif_frame_win32_test APPLICATION SOURCES unit/gif_frame_win32_test.cpp LIBS gifimage)
endif()
