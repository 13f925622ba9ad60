# The GIF frame: its pixel work in both trees (natively under the sanitizers).
add_unit_test(gif_frame_test SOURCES unit/gif_frame_test.cpp LIBS gifimage_core)
if(WIN32)
  # Rendering, drawing and import, read back from real bitmaps.
  add_unit_test(gif_frame_win32_test APPLICATION SOURCES unit/gif_frame_win32_test.cpp LIBS gifimage)
endif()
if(WIN32)
  # Frames rendered alone against ImageMagick's decoding of them: the list and
  # ImageMagick's pixels are made before the test, real files fetched once.
  set(gif_refs ${CMAKE_BINARY_DIR}/gif_render_refs)
  add_test(NAME gif_render_refs COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/gif_render_refs.sh ${gif_refs})
  set_tests_properties(gif_render_refs PROPERTIES FIXTURES_SETUP gif_render_refs)
  add_unit_test(gif_render_compare_test APPLICATION SOURCES unit/gif_render_compare_win32_test.cpp LIBS gifimage)
  target_compile_definitions(gif_render_compare_test PRIVATE GIF_REFS="Z:${gif_refs}")
  set_tests_properties(gif_render_compare_test PROPERTIES FIXTURES_REQUIRED gif_render_refs)
endif()

# The frame work under libFuzzer, natively with clang, as the reader's target
# (gifimage.cmake): committed inputs, then a bounded search with a fixed seed.
if(NOT WIN32 AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  get_target_property(gif_core_sources gifimage_core SOURCES)
  add_executable(gif_frame_fuzz fuzz/gif_frame_fuzz.cpp ${gif_core_sources})
  target_compile_options(gif_frame_fuzz PRIVATE -fsanitize=fuzzer)
  target_link_options(gif_frame_fuzz PRIVATE -fsanitize=fuzzer)
  target_link_libraries(gif_frame_fuzz PRIVATE toolkit_core)
  add_dependencies(gif_frame_fuzz gif_samples)
  add_test(NAME gif_frame_fuzz
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/run.sh $<TARGET_FILE:gif_frame_fuzz>
            ${CMAKE_BINARY_DIR}/fuzz/gif_frame_fuzz 2000
            ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/corpus/gif_frame_fuzz ${CMAKE_BINARY_DIR}/gif_samples/corpus)
endif()
