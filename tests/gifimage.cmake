# The GIF unit: portable tests in both trees, GDI tests in the Windows tree.
# The sample files are made at build time by other programs (gif_samples.sh).
set(gif_samples ${CMAKE_BINARY_DIR}/gif_samples)
add_custom_command(OUTPUT ${gif_samples}/stamp
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/gif_samples.sh ${gif_samples}
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/gif_samples.sh
  COMMENT "Making GIF sample files")
add_custom_target(gif_samples DEPENDS ${gif_samples}/stamp)
if(WIN32)
  set(gif_samples_path "Z:${gif_samples}") # Wine's drive for /
else()
  set(gif_samples_path "${gif_samples}")
endif()

add_unit_test(gif_core_test
  SOURCES unit/gif_lookup_test.cpp unit/gif_stream_test.cpp unit/gif_codec_test.cpp unit/gif_extension_test.cpp
  LIBS gifimage_core)
add_unit_test(gif_optimize_test SOURCES unit/gif_optimize_test.cpp LIBS gifimage_core)
add_unit_test(gif_files_test SOURCES unit/gif_files_test.cpp LIBS gifimage_core)
target_compile_definitions(gif_files_test PRIVATE GIF_SAMPLES="${gif_samples_path}")
add_dependencies(gif_files_test gif_samples)
if(WIN32)
  add_unit_test(gif_win32_test APPLICATION SOURCES unit/gif_win32_test.cpp LIBS gifimage gifimage_core)
else()
  # giflib beside ours, natively.
  find_package(GIF REQUIRED)
  add_unit_test(gif_giflib_test SOURCES unit/gif_giflib_test.cpp LIBS gifimage_core GIF::GIF)
  target_compile_definitions(gif_giflib_test PRIVATE GIF_SAMPLES="${gif_samples_path}")
  add_dependencies(gif_giflib_test gif_samples)
endif()

# The reader, and the frame work on what it reads, under libFuzzer, natively
# with clang, the unit's sources compiled in (add_fuzz_test); each also
# searches from the sample files.
if(NOT WIN32 AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  add_fuzz_test(gif_decode_fuzz RUNS 4000 COMPILED gifimage_core LIBS toolkit_core SEEDS ${gif_samples}/corpus)
  add_fuzz_test(gif_frame_fuzz RUNS 2000 COMPILED gifimage_core LIBS toolkit_core SEEDS ${gif_samples}/corpus)
  add_dependencies(gif_decode_fuzz gif_samples)
  add_dependencies(gif_frame_fuzz gif_samples)
endif()
