# Helpers shared by every folder of the tree.

# The product's names and version, from project(): "1.02" is shown as it is
# written; the numeric form of a version resource counts 1.02 as 1.2.0.0.
set(QUILLON_PRODUCT "Varnel Quillon")
set(QUILLON_COMPANY "Varnel")
set(QUILLON_COPYRIGHT "Copyright (C) 2026 Varnel")
set(QUILLON_VERSION_TEXT ${PROJECT_VERSION})
math(EXPR QUILLON_VERSION_MAJOR "${PROJECT_VERSION_MAJOR}")
math(EXPR QUILLON_VERSION_MINOR "${PROJECT_VERSION_MINOR}")
set(QUILLON_VERSION_NUMBERS "${QUILLON_VERSION_MAJOR},${QUILLON_VERSION_MINOR},0,0")

# The version as C++ sees it: link quillon_version to get QuillonVersion.h.
configure_file(${CMAKE_CURRENT_LIST_DIR}/QuillonVersion.h.in ${CMAKE_BINARY_DIR}/generated/QuillonVersion.h @ONLY)
add_library(quillon_version INTERFACE)
target_include_directories(quillon_version INTERFACE ${CMAKE_BINARY_DIR}/generated)

# quillon_version_info(target "description"): gives a program or DLL its
# version resource (file and product version, names, copyright).
function(quillon_version_info target description)
  get_target_property(type ${target} TYPE)
  get_target_property(name ${target} OUTPUT_NAME)
  if(NOT name)
    set(name ${target})
  endif()
  if(type STREQUAL "EXECUTABLE")
    set(QUILLON_VI_TYPE VFT_APP)
    set(QUILLON_VI_FILE ${name}.exe)
  else()
    set(QUILLON_VI_TYPE VFT_DLL)
    set(QUILLON_VI_FILE ${name}.dll)
  endif()
  set(QUILLON_VI_NAME ${name})
  set(QUILLON_VI_DESCRIPTION "${description}")
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/VersionInfo.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()

# quillon_ship(target "description"): put a program or DLL into the Windows
# program folder, with its version resource.
function(quillon_ship target description)
  set_target_properties(${target} PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${QUILLON_DIST_DIR}
    LIBRARY_OUTPUT_DIRECTORY ${QUILLON_DIST_DIR}
    PREFIX "")
  quillon_version_info(${target} "${description}")
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
