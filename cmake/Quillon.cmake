# Helpers shared by every folder of the tree.

# quillon_ship(target): put a program or DLL into the Windows program folder.
function(quillon_ship target)
  set_target_properties(${target} PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${QUILLON_DIST_DIR}
    LIBRARY_OUTPUT_DIRECTORY ${QUILLON_DIST_DIR}
    PREFIX "")
endfunction()

# quillon_native_test(name sources... LIBS libs...): a sanitised native GoogleTest
# executable; every case becomes a ctest test.
function(quillon_native_test name)
  cmake_parse_arguments(T "" "" "LIBS" ${ARGN})
  add_executable(${name} ${T_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST)
endfunction()

# quillon_windows_test(name sources... LIBS libs... [LABELS l...] [TIMEOUT s]):
# a GoogleTest executable run under Wine as one ctest test. Its working
# directory is the program folder, so tests see the shipped DLLs and skins.
function(quillon_windows_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ${T_LIBS} gtest_main)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${QUILLON_TEST_BIN_DIR})
  add_test(NAME ${name} COMMAND ${name} WORKING_DIRECTORY ${QUILLON_DIST_DIR})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT} LABELS "wine;${T_LABELS}")
endfunction()
