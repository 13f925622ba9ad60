# Colour reduction of the GIF unit: dither engines, octree quantizer, reduction.
add_unit_test(gif_color_test
  SOURCES unit/gif_dither_test.cpp unit/gif_quantizer_test.cpp unit/gif_reduce_test.cpp
  LIBS gifimage_core)
if(WIN32)
  add_unit_test(gif_reduce_win32_test APPLICATION SOURCES unit/gif_reduce_win32_test.cpp LIBS gifimage)
endif()
