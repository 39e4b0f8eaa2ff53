# Strict warnings for the project's own code; third-party headers come in as SYSTEM.
function(cvq9_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
  if(CVQ9_SANITIZE AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    # The sanitizers' instrumentation makes GCC's flow analysis report
    # uninitialised values inside the standard library (std::regex, std::function)
    # that ordinary builds never see; keep them as warnings there.
    target_compile_options(${target} PRIVATE -Wno-error=maybe-uninitialized)
  endif()
endfunction()

# Test programs: their own code is compiled with light optimisation, which
# builds much faster than the program's -O2 and still runs the tests quickly;
# the program's code they link keeps its own flags.
function(cvq9_test_code target)
  target_compile_options(${target} PRIVATE -O1 -g1)
endfunction()
