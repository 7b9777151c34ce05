# The warnings every target of the project is built with. CI builds with QUOINRY_WERROR=ON
# (.ci/run), so that a new warning fails it instead of scrolling past.
option(QUOINRY_WERROR "Treat compiler warnings as errors" OFF)

function(quoinry_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(QUOINRY_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
