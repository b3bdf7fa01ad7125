# Builds the static libjpeg from Debian's libjpeg-turbo source package with the current toolchain
# and exposes it as the imported target twk_jpeg (jpeglib.h, jconfig.h on its include path).
include(ExternalProject)

# Shared by the x86_64 and i686 build folders; scripts/fetch-libjpeg.sh fills it.
get_filename_component(TWK_THIRD_PARTY_DEFAULT "${CMAKE_BINARY_DIR}/../third_party" ABSOLUTE)
set(TWK_THIRD_PARTY_DIR "${TWK_THIRD_PARTY_DEFAULT}" CACHE PATH "Folder of the unpacked third-party source packages")
set(TWK_LIBJPEG_SOURCE_DIR "${TWK_THIRD_PARTY_DIR}/libjpeg-turbo")
if(NOT EXISTS "${TWK_LIBJPEG_SOURCE_DIR}/jpeglib.h")
  execute_process(COMMAND "${CMAKE_SOURCE_DIR}/scripts/fetch-libjpeg.sh" "${TWK_THIRD_PARTY_DIR}"
    RESULT_VARIABLE TWK_FETCH_RESULT)
  if(NOT TWK_FETCH_RESULT EQUAL 0)
    message(FATAL_ERROR "Could not fetch the libjpeg-turbo source package (run scripts/setup.sh first)")
  endif()
endif()

set(TWK_LIBJPEG_BINARY_DIR "${CMAKE_BINARY_DIR}/libjpeg")
set(TWK_LIBJPEG_LIBRARY "${TWK_LIBJPEG_BINARY_DIR}/${CMAKE_STATIC_LIBRARY_PREFIX}jpeg${CMAKE_STATIC_LIBRARY_SUFFIX}")

# Only the static library, without SIMD, tools or tests; -w because its warnings are not ours,
# and the step logs keep its output out of our build log unless a step fails.
ExternalProject_Add(twk_libjpeg_build
  SOURCE_DIR "${TWK_LIBJPEG_SOURCE_DIR}"
  BINARY_DIR "${TWK_LIBJPEG_BINARY_DIR}"
  CMAKE_ARGS
    -Wno-dev
    -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
    -DCMAKE_BUILD_TYPE=Release
    -DCMAKE_INSTALL_PREFIX=<INSTALL_DIR>
    -DCMAKE_C_FLAGS=-w
    -DENABLE_SHARED=OFF
    -DENABLE_STATIC=ON
    -DWITH_SIMD=OFF
    -DWITH_TURBOJPEG=OFF
    -DWITH_ARITH_ENC=OFF
  BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target jpeg-static --parallel 2
  INSTALL_COMMAND ""
  BUILD_BYPRODUCTS "${TWK_LIBJPEG_LIBRARY}"
  LOG_CONFIGURE ON
  LOG_BUILD ON
  LOG_OUTPUT_ON_FAILURE ON)

# The include folders must exist when the build is generated, before the library is built.
file(MAKE_DIRECTORY "${TWK_LIBJPEG_BINARY_DIR}")
add_library(twk_jpeg STATIC IMPORTED GLOBAL)
set_target_properties(twk_jpeg PROPERTIES
  IMPORTED_LOCATION "${TWK_LIBJPEG_LIBRARY}"
  INTERFACE_INCLUDE_DIRECTORIES "${TWK_LIBJPEG_SOURCE_DIR};${TWK_LIBJPEG_BINARY_DIR}")
add_dependencies(twk_jpeg twk_libjpeg_build)
