# Run by CTest (see SuiteTests.cmake): lists the suites of a GoogleTest binary
# and adds one test per suite.
if(NOT EXISTS "${suite_binary}")
  add_test("${suite_prefix}NOT_BUILT" "${suite_binary}")
  return()
endif()
set(list_filter "*")
if(suite_exclude)
  set(list_filter "-${suite_exclude}")
endif()
execute_process(COMMAND "${suite_binary}" --gtest_list_tests "--gtest_filter=${list_filter}"
  OUTPUT_VARIABLE listing RESULT_VARIABLE listed TIMEOUT 60)
if(NOT listed EQUAL 0)
  # A test that fails and says why, rather than a silently empty suite.
  add_test("${suite_prefix}LISTING_FAILED" "${suite_binary}" --gtest_list_tests)
  return()
endif()
string(REPLACE "\n" ";" lines "${listing}")
foreach(line IN LISTS lines)
  # Suite lines start in the first column and end with a dot; a comment may follow.
  if(line MATCHES "^([^ #][^ ]*)\\.( .*)?$")
    set(suite "${CMAKE_MATCH_1}")
    set(filter "${suite}.*")
    if(suite_exclude)
      string(APPEND filter ":-${suite_exclude}")
    endif()
    add_test("${suite_prefix}${suite}" "${suite_binary}" "--gtest_filter=${filter}")
    set_tests_properties("${suite_prefix}${suite}" PROPERTIES
      TIMEOUT "${suite_timeout}"
      WORKING_DIRECTORY "${suite_directory}"
      ENVIRONMENT "${suite_environment}")
  endif()
endforeach()
