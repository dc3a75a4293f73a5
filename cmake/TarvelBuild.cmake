# Compiler settings per kind of build, and the registry of sources that each
# src/<subsystem>/CMakeLists.txt fills with tarvel_sources().

set(TARVEL_WARNINGS -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wcast-align
                    -Woverloaded-virtual -Wnull-dereference -Wformat=2)

if(TARVEL_KIND STREQUAL windows)
  # Unicode everywhere, no min/max macros, Windows 7 APIs.
  add_compile_definitions(UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0601 WINVER=0x0601)
  # One self-contained executable: no libgcc, libstdc++ or winpthread DLLs beside it.
  add_link_options(-static -static-libgcc -static-libstdc++)
elseif(TARVEL_KIND STREQUAL native)
  set(TARVEL_SANITIZERS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(${TARVEL_SANITIZERS})
  add_link_options(${TARVEL_SANITIZERS})
elseif(TARVEL_KIND STREQUAL fuzz)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -g)
  add_link_options(-fsanitize=address,undefined)
endif()

define_property(GLOBAL PROPERTY TARVEL_PORTABLE_SOURCES
  BRIEF_DOCS "Sources that include no Windows header" FULL_DOCS "Built into every kind of build")
define_property(GLOBAL PROPERTY TARVEL_WINDOWS_SOURCES
  BRIEF_DOCS "Sources that use the Windows API" FULL_DOCS "Built into the windows build only")

# tarvel_sources(PORTABLE a.cpp ... WINDOWS b.cpp ...)
# PORTABLE sources must not include any Windows header: they are also compiled
# natively, under sanitizers and into the fuzz targets.
function(tarvel_sources)
  cmake_parse_arguments(ARG "" "" "PORTABLE;WINDOWS" ${ARGN})
  foreach(kind PORTABLE WINDOWS)
    foreach(file IN LISTS ARG_${kind})
      set_property(GLOBAL APPEND PROPERTY TARVEL_${kind}_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/${file})
    endforeach()
  endforeach()
endfunction()

function(tarvel_target_warnings target)
  target_compile_options(${target} PRIVATE ${TARVEL_WARNINGS})
endfunction()

# tarvel_portable: the platform-free code, in every build.
# tarvel_windows: everything else except the entry point, in the windows build.
function(tarvel_finish_libraries)
  get_property(portable GLOBAL PROPERTY TARVEL_PORTABLE_SOURCES)
  add_library(tarvel_portable STATIC ${portable})
  target_include_directories(tarvel_portable PUBLIC ${CMAKE_SOURCE_DIR}/src ${TARVEL_GENERATED_DIR})
  target_link_libraries(tarvel_portable PUBLIC jsoncpp_static)
  tarvel_target_warnings(tarvel_portable)
  if(NOT TARVEL_KIND STREQUAL windows)
    return()
  endif()
  get_property(windows GLOBAL PROPERTY TARVEL_WINDOWS_SOURCES)
  add_library(tarvel_windows STATIC ${windows})
  target_link_libraries(tarvel_windows PUBLIC tarvel_portable minizip
    ws2_32 winhttp gdiplus gdi32 user32 shell32 shlwapi ole32 oleaut32 advapi32
    version winmm iphlpapi setupapi comdlg32 comctl32 uuid)
  tarvel_target_warnings(tarvel_windows)
endfunction()

# Every Windows executable carries its endpoint profile as plain bytes, so that
# the test runner can refuse to start anything built for production.
function(tarvel_mark_profile target)
  set(rc ${CMAKE_BINARY_DIR}/generated/endpoint_profile.rc)
  if(NOT EXISTS ${rc})
    file(WRITE ${rc} "TARVEL_ENDPOINT_PROFILE RCDATA { \"TARVEL-ENDPOINT-PROFILE:${TARVEL_ENDPOINTS}\\0\" }\n")
  endif()
  target_sources(${target} PRIVATE ${rc})
endfunction()

define_property(GLOBAL PROPERTY TARVEL_BINARY_RESOURCES
  BRIEF_DOCS "id=path pairs of BinarySystem resources" FULL_DOCS "Linked into the installer")

# tarvel_binary_resource(ID FILE [DEPENDS target]): a file produced by the build
# that the installer carries as a "BinarySystem" resource.
function(tarvel_binary_resource id file)
  cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
  set_property(GLOBAL APPEND PROPERTY TARVEL_BINARY_RESOURCES "${id}=${file}")
  set_property(GLOBAL APPEND PROPERTY TARVEL_BINARY_RESOURCE_TARGETS ${ARG_DEPENDS})
endfunction()

# The .rc lines for every BinarySystem resource: files dropped into
# src/resources/binary/ named by their id (103.zip), then those the build makes.
function(tarvel_binary_resource_lines out)
  file(GLOB dropped CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/resources/binary/*)
  get_property(made GLOBAL PROPERTY TARVEL_BINARY_RESOURCES)
  set(lines "")
  foreach(path IN LISTS dropped)
    get_filename_component(id ${path} NAME_WE)
    string(APPEND lines "${id} BinarySystem \"${path}\"\n")
  endforeach()
  foreach(pair IN LISTS made)
    string(REPLACE "=" ";" parts ${pair})
    list(GET parts 0 id)
    list(GET parts 1 path)
    string(APPEND lines "${id} BinarySystem \"${path}\"\n")
  endforeach()
  set(${out} "${lines}" PARENT_SCOPE)
endfunction()

# tarvel_add_installer(target OUTPUT_NAME name VERSION a.b.c.d): the installer
# executable. Tests build variants with other names and version resources.
function(tarvel_add_installer target)
  cmake_parse_arguments(ARG "" "OUTPUT_NAME;VERSION" "" ${ARGN})
  string(REPLACE "." "," version_commas ${ARG_VERSION})
  set(TARVEL_RC_VERSION ${ARG_VERSION})
  set(TARVEL_RC_VERSION_COMMAS ${version_commas})
  set(TARVEL_RC_RESOURCE_DIR ${CMAKE_SOURCE_DIR}/src/resources)
  set(TARVEL_RC_ICON ${CMAKE_BINARY_DIR}/generated/Installer.ico)
  tarvel_binary_resource_lines(TARVEL_RC_BINARY_RESOURCES)
  set(rc ${CMAKE_BINARY_DIR}/generated/${target}.rc)
  configure_file(${CMAKE_SOURCE_DIR}/src/resources/Installer.rc.in ${rc} @ONLY)
  # windres reports no dependencies: name the files the script pulls in.
  file(GLOB dropped CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/resources/binary/*)
  get_property(made GLOBAL PROPERTY TARVEL_BINARY_RESOURCES)
  list(TRANSFORM made REPLACE "^[0-9]+=" "")
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS
    "${TARVEL_RC_ICON};${CMAKE_SOURCE_DIR}/src/resources/Installer.manifest;${dropped};${made}")

  add_executable(${target} WIN32 ${CMAKE_SOURCE_DIR}/src/core/WinMain.cpp ${rc})
  set_target_properties(${target} PROPERTIES OUTPUT_NAME ${ARG_OUTPUT_NAME})
  target_link_options(${target} PRIVATE -municode)
  target_link_libraries(${target} PRIVATE tarvel_windows)
  tarvel_target_warnings(${target})
  tarvel_mark_profile(${target})
  get_property(deps GLOBAL PROPERTY TARVEL_BINARY_RESOURCE_TARGETS)
  add_dependencies(${target} installer_icon ${deps})
endfunction()
