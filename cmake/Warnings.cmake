# Strict warnings for the project's own code; third-party headers come in as SYSTEM.
function(cvq9_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()
