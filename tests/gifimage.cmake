# The GIF unit: portable tests in both trees, GDI tests in the Windows tree.
add_unit_test(gif_core_test
  SOURCES unit/gif_lookup_test.cpp
  LIBS gifimage_core)
if(WIN32)
  add_unit_test(gif_win32_test SOURCES unit/gif_win32_test.cpp LIBS gifimage)
endif()
