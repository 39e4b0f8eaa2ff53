# Registers a GoogleTest binary with CTest as one test per test suite rather
# than one per test. The GUI test binaries start the toolkit for every
# process; a process per suite pays that once per suite, while the fixture
# still gives each test a fresh program, its own home folder and its own
# settings. The suites are listed when CTest runs (the binary lists its tests
# without a display), as gtest_discover_tests does in its PRE_TEST mode.
#
#   cvq9_add_suite_tests(TARGET t PREFIX "gui." [EXCLUDE "Serial*"]
#                        [TIMEOUT s] [ENVIRONMENT "A=b"])
set(CVQ9_SUITE_TESTS_LISTER ${CMAKE_CURRENT_LIST_DIR}/SuiteTestsList.cmake)

function(cvq9_add_suite_tests)
  cmake_parse_arguments(ARG "" "TARGET;PREFIX;EXCLUDE;TIMEOUT;ENVIRONMENT" "" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 600)
  endif()
  set(include_file "${CMAKE_CURRENT_BINARY_DIR}/${ARG_TARGET}_suites.cmake")
  file(GENERATE OUTPUT "${include_file}" CONTENT "
set(suite_binary [==[$<TARGET_FILE:${ARG_TARGET}>]==])
set(suite_prefix [==[${ARG_PREFIX}]==])
set(suite_exclude [==[${ARG_EXCLUDE}]==])
set(suite_timeout [==[${ARG_TIMEOUT}]==])
set(suite_environment [==[${ARG_ENVIRONMENT}]==])
set(suite_directory [==[${CMAKE_CURRENT_BINARY_DIR}]==])
include([==[${CVQ9_SUITE_TESTS_LISTER}]==])
")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${include_file}")
endfunction()
