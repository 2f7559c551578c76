function(quenlor_set_warnings target)
  target_compile_options(${target} INTERFACE
    -Wall -Wextra -Werror -Wshadow -Wnon-virtual-dtor -Wcast-qual
    $<$<COMPILE_LANGUAGE:CXX>:-Woverloaded-virtual>)
endfunction()
