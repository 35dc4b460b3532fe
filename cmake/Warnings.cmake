# Every target of ours compiles with warnings as errors.
function(setip_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /WX)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wconversion -Wshadow
                                             -Wnon-virtual-dtor -Wold-style-cast -Werror)
  endif()
endfunction()
