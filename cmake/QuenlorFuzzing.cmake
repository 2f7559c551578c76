# quenlor_add_fuzzer(NAME SOURCE LIB...): a libFuzzer target fuzz/<dir>/NAME. Skipped where a
# library it needs is not built in this configuration.
function(quenlor_add_fuzzer name source)
  foreach(lib ${ARGN})
    if(NOT TARGET ${lib})
      return()
    endif()
  endforeach()
  add_executable(${name} ${source})
  target_link_libraries(${name} PRIVATE quenlor_options ${ARGN})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
endfunction()
