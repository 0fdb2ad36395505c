# Our own targets build with the full warning set and treat warnings as errors,
# so that "no warnings in our code" stays true without anyone having to look.
function(pellimar_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror)
endfunction()
