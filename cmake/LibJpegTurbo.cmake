# libjpeg-turbo for the Windows targets, built from Debian's source package
# that tools/setup unpacks under .deps/src (never committed). The native build
# uses the system's libjpeg instead. Defines the imported target vestora::jpeg.
if(NOT WIN32)
  find_package(JPEG REQUIRED)
  add_library(vestora_jpeg INTERFACE)
  target_link_libraries(vestora_jpeg INTERFACE JPEG::JPEG)
  add_library(vestora::jpeg ALIAS vestora_jpeg)
  return()
endif()

file(GLOB _jpeg_sources LIST_DIRECTORIES true "${PROJECT_SOURCE_DIR}/.deps/src/libjpeg-turbo-*")
list(FILTER _jpeg_sources EXCLUDE REGEX "\\.(tar|dsc|gz|xz)")
if(NOT _jpeg_sources)
  message(FATAL_ERROR "libjpeg-turbo source missing: run tools/setup first")
endif()
list(GET _jpeg_sources 0 JPEG_SOURCE_DIR)

include(ExternalProject)
set(_jpeg_bin "${CMAKE_BINARY_DIR}/libjpeg-turbo")
file(MAKE_DIRECTORY "${_jpeg_bin}")
ExternalProject_Add(libjpeg_turbo_build
  SOURCE_DIR "${JPEG_SOURCE_DIR}"
  BINARY_DIR "${_jpeg_bin}"
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
    -DCMAKE_BUILD_TYPE=Release
    "-DCMAKE_C_FLAGS_RELEASE=-Os -DNDEBUG -ffunction-sections -fdata-sections"
    -DCMAKE_INSTALL_PREFIX=${_jpeg_bin}/install
    -DWITH_SIMD=OFF -DENABLE_SHARED=OFF -DWITH_TURBOJPEG=OFF -DWITH_JAVA=OFF
    -DWITH_ARITH_ENC=OFF -DWITH_ARITH_DEC=OFF
  BUILD_COMMAND ${CMAKE_COMMAND} --build . --target jpeg-static
  INSTALL_COMMAND ""
  BUILD_BYPRODUCTS "${_jpeg_bin}/libjpeg.a"
  LOG_CONFIGURE ON LOG_BUILD ON LOG_OUTPUT_ON_FAILURE ON)

add_library(vestora_jpeg STATIC IMPORTED GLOBAL)
set_target_properties(vestora_jpeg PROPERTIES IMPORTED_LOCATION "${_jpeg_bin}/libjpeg.a")
# jpeglib.h lives in the source tree, jconfig.h in the build tree.
target_include_directories(vestora_jpeg INTERFACE "${JPEG_SOURCE_DIR}" "${_jpeg_bin}")
add_dependencies(vestora_jpeg libjpeg_turbo_build)
add_library(vestora::jpeg ALIAS vestora_jpeg)
