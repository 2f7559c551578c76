# quenlor_add_fuzzer(NAME SOURCE LIB...): a libFuzzer target fuzz/<dir>/NAME.
function(quenlor_add_fuzzer name source)
  add_executable(${name} ${source})
  target_link_libraries(${name} PRIVATE quenlor_options ${ARGN})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/fuzz)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
endfunction()
