# GoogleTest for both builds: the system's on Linux, compiled from Debian's sources for MinGW.
macro(quenlor_setup_gtest)
  if(WIN32)
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
    # googletest's own CMake defines the GTest:: aliases.
  else()
    find_package(GTest REQUIRED)
  endif()
endmacro()

# quenlor_add_test(NAME name SOURCES ... [LIBS ...] [LABELS ...] [WINDOWS_ONLY] [LINUX_ONLY])
# One executable, one ctest entry. In the windows build ctest starts it under Wine through
# the toolchain's emulator. LABELS "display" marks tests that need an X display; the test
# script starts Xvfb only for those.
function(quenlor_add_test)
  cmake_parse_arguments(T "WINDOWS_ONLY;LINUX_ONLY" "NAME" "SOURCES;LIBS;LABELS" ${ARGN})
  if(T_WINDOWS_ONLY AND NOT WIN32)
    return()
  endif()
  if(T_LINUX_ONLY AND WIN32)
    return()
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE quenlor_options ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(${T_NAME} PRIVATE
    QUENLOR_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    QUENLOR_BINARY_DIR="${CMAKE_BINARY_DIR}"
    QUENLOR_CORPUS_DIR="${CMAKE_SOURCE_DIR}/../shared/corpus")
  if(WIN32)
    target_link_options(${T_NAME} PRIVATE -mconsole)
  endif()
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  if(T_LABELS)
    set_tests_properties(${T_NAME} PROPERTIES LABELS "${T_LABELS}")
  endif()
endfunction()
