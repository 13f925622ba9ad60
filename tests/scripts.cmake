# The two commands of the README as a user meets them, on the tree that runs
# here: scripts/run expects it at <build>/<arch>.
if(WIN32)
  get_filename_component(run_build ${CMAKE_BINARY_DIR} DIRECTORY)
  get_filename_component(run_arch ${CMAKE_BINARY_DIR} NAME)
  add_test(NAME run_script_interrupt
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/run_interrupt_test.sh ${run_build} ${run_arch})
  set_tests_properties(run_script_interrupt PROPERTIES RESOURCE_LOCK vantra_session TIMEOUT 300)
endif()
