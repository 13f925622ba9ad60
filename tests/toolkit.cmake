add_unit_test(toolkit_core_test SOURCES unit/toolkit_core_test.cpp LIBS toolkit_core)
if(WIN32)
  add_unit_test(toolkit_win32_test APPLICATION SOURCES unit/toolkit_win32_test.cpp LIBS toolkit)
endif()
