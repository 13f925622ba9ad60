# Row access to toolkit bitmaps and DIB copies of GDI bitmaps, under Wine.
if(WIN32)
  add_unit_test(gif_dib_test APPLICATION SOURCES unit/gif_dib_win32_test.cpp LIBS gifimage)
endif()
