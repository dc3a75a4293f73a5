# jsoncpp and minizip are compiled here from the Debian sources that
# tools/setup/setup.sh unpacked; zlib and GoogleTest come from Debian packages.

set(JSONCPP_SRC ${TARVEL_DEPS_SRC}/jsoncpp)
set(ZLIB_SRC ${TARVEL_DEPS_SRC}/zlib)
if(NOT EXISTS ${JSONCPP_SRC}/src/lib_json/json_value.cpp OR NOT EXISTS ${ZLIB_SRC}/contrib/minizip/unzip.c)
  message(FATAL_ERROR "Dependency sources missing in ${TARVEL_DEPS_SRC}: run tools/setup/setup.sh (make setup)")
endif()

# Built directly rather than through jsoncpp's own CMake project, which would
# switch on its tests and redirect the output folders of the whole build.
add_library(jsoncpp_static STATIC
  ${JSONCPP_SRC}/src/lib_json/json_reader.cpp
  ${JSONCPP_SRC}/src/lib_json/json_value.cpp
  ${JSONCPP_SRC}/src/lib_json/json_writer.cpp)
target_include_directories(jsoncpp_static SYSTEM PUBLIC ${JSONCPP_SRC}/include)

if(TARVEL_KIND STREQUAL windows)
  # The static archive explicitly: FindZLIB would pick libz.dll.a and make the
  # executable need a zlib1.dll that Wine hides and Windows lacks.
  find_library(ZLIB_STATIC_LIBRARY NAMES libz.a REQUIRED)
  add_library(zlib_static STATIC IMPORTED)
  set_target_properties(zlib_static PROPERTIES IMPORTED_LOCATION ${ZLIB_STATIC_LIBRARY})

  add_library(minizip STATIC
    ${ZLIB_SRC}/contrib/minizip/unzip.c
    ${ZLIB_SRC}/contrib/minizip/zip.c
    ${ZLIB_SRC}/contrib/minizip/ioapi.c
    ${ZLIB_SRC}/contrib/minizip/iowin32.c)
  target_include_directories(minizip SYSTEM PUBLIC ${ZLIB_SRC}/contrib)
  target_compile_options(minizip PRIVATE -w)
  target_link_libraries(minizip PUBLIC zlib_static)
endif()
