# intcalc_set_warnings: the warnings every target of ours compiles with.
function(intcalc_set_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4)
    return()
  endif()
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion)
  if(INTCALC_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
