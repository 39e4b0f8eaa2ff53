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
