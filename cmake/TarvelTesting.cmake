# Test registration. Each tests/<subsystem>/CMakeLists.txt calls
#   tarvel_tests(<name> PORTABLE a_test.cpp ... WINDOWS b_test.cpp ...)
# The windows build makes <name>_tests.exe from both lists and runs it under
# Wine; the native build makes <name>_native_tests from the PORTABLE list and
# runs it under ASan and UBSan. Every test case is its own CTest test.
# RUNS_INSTALLER marks tests that start the installer executable: they never
# run at the same time, since the installer allows one instance per machine.
# QUICK_EXIT ends each Windows test process as soon as its verdict is out
# (tests/support/QuickExitMain.cpp), for suites whose system calls leave Wine
# unable to finish a normal process exit.
include(GoogleTest)

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# Generous: the first Wine start in a fresh prefix takes several seconds.
set(TARVEL_TEST_TIMEOUT 120)

if(TARVEL_KIND STREQUAL windows)
  set(TARVEL_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
  set(TARVEL_WINE_RUN ${CMAKE_BINARY_DIR}/wine-run)
  configure_file(${CMAKE_SOURCE_DIR}/tools/wine/wine-run.in ${TARVEL_WINE_RUN} @ONLY
                 FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  # Created once per build tree, before test discovery needs it.
  execute_process(COMMAND ${CMAKE_SOURCE_DIR}/tools/wine/make-prefix.sh ${TARVEL_WINEPREFIX} ${CMAKE_SOURCE_DIR}
                  RESULT_VARIABLE prefix_result)
  if(NOT prefix_result EQUAL 0)
    message(FATAL_ERROR "Creating the Wine prefix ${TARVEL_WINEPREFIX} failed")
  endif()
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TARVEL_WINE_RUN})

  # One persistent wineserver for the whole run: a server started by a test
  # would inherit CTest's pipes and keep every test alive for seconds.
  add_test(NAME wine.server.start COMMAND ${TARVEL_WINE_RUN} --start-server)
  add_test(NAME wine.server.stop COMMAND ${TARVEL_WINE_RUN} --stop-server)
  set_tests_properties(wine.server.start PROPERTIES FIXTURES_SETUP wine TIMEOUT 60)
  set_tests_properties(wine.server.stop PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 60)
  set(TARVEL_TEST_FIXTURES wine)
endif()

function(tarvel_tests name)
  cmake_parse_arguments(ARG "RUNS_INSTALLER;QUICK_EXIT" "" "PORTABLE;WINDOWS;LIBS" ${ARGN})
  if(TARVEL_KIND STREQUAL windows)
    set(target ${name}_tests)
    set(sources ${ARG_PORTABLE} ${ARG_WINDOWS})
    set(libs tarvel_windows)
  else()
    set(target ${name}_native_tests)
    set(sources ${ARG_PORTABLE})
    set(libs tarvel_portable)
  endif()
  if(NOT sources)
    return()
  endif()
  set(main GTest::gtest_main)
  if(ARG_QUICK_EXIT AND TARVEL_KIND STREQUAL windows)
    list(APPEND sources ${CMAKE_SOURCE_DIR}/tests/support/QuickExitMain.cpp)
    set(main GTest::gtest)
  endif()
  add_executable(${target} ${sources})
  target_link_libraries(${target} PRIVATE ${libs} ${ARG_LIBS} GTest::gmock ${main})
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR})
  target_compile_definitions(${target} PRIVATE
    TARVEL_SOURCE_DIR="${CMAKE_SOURCE_DIR}" TARVEL_BINARY_DIR="${CMAKE_BINARY_DIR}")
  tarvel_target_warnings(${target})
  if(TARVEL_KIND STREQUAL windows)
    tarvel_mark_profile(${target})
  endif()
  set(lock "")
  if(ARG_RUNS_INSTALLER AND TARVEL_KIND STREQUAL windows)
    add_dependencies(${target} installer)
    set(lock installer)
  endif()
  # Listing happens when CTest starts, inside the harness's display and
  # network namespace, so the build itself never runs Wine.
  gtest_discover_tests(${target}
    TEST_PREFIX "${name}."
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 120
    PROPERTIES TIMEOUT ${TARVEL_TEST_TIMEOUT} FIXTURES_REQUIRED "${TARVEL_TEST_FIXTURES}" RESOURCE_LOCK "${lock}")
endfunction()

# tarvel_script_test(name COMMAND ...): a test that is a script (shell or
# Python) rather than a gtest executable, with the same fixtures.
function(tarvel_script_test name)
  cmake_parse_arguments(ARG "RUNS_INSTALLER" "TIMEOUT" "COMMAND" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT ${TARVEL_TEST_TIMEOUT})
  endif()
  add_test(NAME ${name} COMMAND ${ARG_COMMAND})
  if(ARG_RUNS_INSTALLER)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK installer)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT} FIXTURES_REQUIRED "${TARVEL_TEST_FIXTURES}"
    ENVIRONMENT "TARVEL_SOURCE_DIR=${CMAKE_SOURCE_DIR};TARVEL_BINARY_DIR=${CMAKE_BINARY_DIR};TARVEL_WINE_RUN=${TARVEL_WINE_RUN}")
endfunction()

# tarvel_probe(name SOURCES ... [RESOURCES id file ...] [DEPENDS target ...]):
# a console program with a wide wmain that tests, benchmarks or the demo start
# under Wine. RESOURCES are BinarySystem files it carries like the installer.
function(tarvel_probe name)
  cmake_parse_arguments(ARG "" "" "SOURCES;RESOURCES;DEPENDS" ${ARGN})
  set(sources ${ARG_SOURCES})
  if(ARG_RESOURCES)
    set(rc ${CMAKE_CURRENT_BINARY_DIR}/${name}.rc)
    set(lines "")
    set(files "")
    while(ARG_RESOURCES)
      list(POP_FRONT ARG_RESOURCES id file)
      string(APPEND lines "${id} BinarySystem \"${file}\"\n")
      list(APPEND files ${file})
    endwhile()
    file(WRITE ${rc} "${lines}")
    set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${files}")
    list(APPEND sources ${rc})
  endif()
  add_executable(${name} ${sources})
  target_link_options(${name} PRIVATE -municode)
  target_link_libraries(${name} PRIVATE tarvel_windows)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  tarvel_target_warnings(${name})
  tarvel_mark_profile(${name})
  if(ARG_DEPENDS)
    add_dependencies(${name} ${ARG_DEPENDS})
  endif()
endfunction()

# tarvel_tests_need_cloud(name [LOCK lock ...]): the Windows tests of
# tarvel_tests(name) talk to the local cloud (and take the resource locks).
# Their list exists only once CTest has read the discovered tests, so the
# properties are set from a file CTest reads after that.
function(tarvel_tests_need_cloud name)
  cmake_parse_arguments(ARG "" "" "LOCK" ${ARGN})
  set(properties "FIXTURES_REQUIRED \"${TARVEL_CLOUD_FIXTURES}\"")
  if(ARG_LOCK)
    string(APPEND properties " RESOURCE_LOCK \"${ARG_LOCK}\"")
  endif()
  set(require ${CMAKE_CURRENT_BINARY_DIR}/${name}_need_cloud.cmake)
  file(WRITE ${require}
    "if(${name}_tests_TESTS)\n"
    "  set_tests_properties(\${${name}_tests_TESTS} PROPERTIES ${properties})\n"
    "endif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${require})
endfunction()
