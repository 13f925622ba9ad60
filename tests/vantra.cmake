add_unit_test(records_test SOURCES unit/records_test.cpp LIBS vantra_core)
if(WIN32)
  add_unit_test(registry_reader_test SOURCES unit/registry_reader_test.cpp LIBS vantra_lib)
endif()
