# libjpeg-turbo for the Windows trees: Debian's source package (scripts/deps
# fetches it into JPEG_SOURCE), built with this tree's toolchain as a static
# library. Only the library is built, not its tools. SIMD code needs nasm;
# without it the plain C code serves.
# Defines the imported target `jpeg`. Nothing is installed.
include(ExternalProject)

set(JPEG_SOURCE "" CACHE PATH "libjpeg-turbo source tree (Debian's source package)")
if(NOT EXISTS "${JPEG_SOURCE}/CMakeLists.txt")
  message(FATAL_ERROR "No libjpeg-turbo source in '${JPEG_SOURCE}': run scripts/deps, which fetches it, "
                      "and pass -DJPEG_SOURCE (the scripts do both)")
endif()

find_program(NASM_PROGRAM nasm)
if(NASM_PROGRAM)
  set(jpeg_simd ON)
else()
  set(jpeg_simd OFF)
endif()

set(jpeg_build ${CMAKE_BINARY_DIR}/libjpeg-turbo)
set(jpeg_library ${jpeg_build}/${CMAKE_STATIC_LIBRARY_PREFIX}jpeg${CMAKE_STATIC_LIBRARY_SUFFIX})
ExternalProject_Add(libjpeg_turbo_build
  SOURCE_DIR ${JPEG_SOURCE}
  BINARY_DIR ${jpeg_build}
  CMAKE_GENERATOR ${CMAKE_GENERATOR}
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=${jpeg_build}/unused
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_SIMD=${jpeg_simd}
  BUILD_COMMAND ${CMAKE_COMMAND} --build ${jpeg_build} --target jpeg-static
  INSTALL_COMMAND ""
  BUILD_BYPRODUCTS ${jpeg_library})

# jconfig.h is made by the build, the other public headers are in the source.
add_library(jpeg STATIC IMPORTED GLOBAL)
set_target_properties(jpeg PROPERTIES
  IMPORTED_LOCATION ${jpeg_library}
  INTERFACE_INCLUDE_DIRECTORIES "${JPEG_SOURCE};${jpeg_build}")
add_dependencies(jpeg libjpeg_turbo_build)
