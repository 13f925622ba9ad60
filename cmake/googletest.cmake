# GoogleTest from Debian's source package, built with this tree's compiler and flags.
set(GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest source tree")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(${GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
if(WIN32)
  # gtest's own warnings are not ours to fix.
  target_compile_options(gtest PRIVATE -w)
  target_compile_options(gtest_main PRIVATE -w)
endif()

# add_unit_test(name [APPLICATION] SOURCES ... LIBS ...): one test program, one
# ctest entry. APPLICATION: the tests use windows, timers or threads of the
# toolkit, and run inside one application object that the program's main
# makes and frees, as the programs' own entry functions do.
function(add_unit_test name)
  cmake_parse_arguments(T "APPLICATION" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  if(T_APPLICATION)
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/application_main.cpp)
    if("gifimage" IN_LIST T_LIBS OR "vantra_lib" IN_LIST T_LIBS)
      target_compile_definitions(${name} PRIVATE TEST_GIF_UNIT)
    endif()
    target_link_libraries(${name} PRIVATE ${T_LIBS} gtest)
  else()
    target_link_libraries(${name} PRIVATE ${T_LIBS} gtest_main)
  endif()
  add_test(NAME ${name} COMMAND ${name})
endfunction()
