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

# delay_<dll> for user32, shell32, comdlg32, ole32, winmm, setupapi, comctl32 and
# msimg32: link these
# instead of the system DLLs themselves, and the DLL is loaded at the first
# call of one of its functions, not before the program's first line runs.
# Under Wine the shell alone brings a dozen DLLs, and user32 spends some
# 40 ms setting itself up, which the monitor's start-up would rather spend
# inside the keyboard's required pause. The list of functions comes from the
# toolchain's own import library. The programs load delay-loaded DLLs from the
# system folder by full path (settings/SystemLibraries_win.cpp): the loader
# would look for comctl32 and msimg32 in the program's folder first.
if(WIN32)
  find_program(QUILLON_DLLTOOL NAMES x86_64-w64-mingw32-dlltool REQUIRED)
  find_program(QUILLON_NM NAMES x86_64-w64-mingw32-nm REQUIRED)
  foreach(dll user32 shell32 comdlg32 ole32 winmm setupapi comctl32 msimg32)
    find_library(QUILLON_IMPORT_${dll} NAMES lib${dll}.a REQUIRED)
    set(def ${CMAKE_BINARY_DIR}/delayload/${dll}.def)
    set(lib ${CMAKE_BINARY_DIR}/delayload/lib${dll}_delay.a)
    add_custom_command(OUTPUT ${lib}
      COMMAND ${CMAKE_COMMAND} -D NM=${QUILLON_NM} -D IMPORT_LIB=${QUILLON_IMPORT_${dll}} -D DLL=${dll}
              -D OUT=${def} -P ${CMAKE_CURRENT_LIST_DIR}/DelayLoadDef.cmake
      COMMAND ${QUILLON_DLLTOOL} --input-def ${def} --dllname ${dll}.dll --output-delaylib ${lib}
      DEPENDS ${CMAKE_CURRENT_LIST_DIR}/DelayLoadDef.cmake VERBATIM)
    add_custom_target(delay_${dll}_import DEPENDS ${lib})
    add_library(delay_${dll} INTERFACE)
    add_dependencies(delay_${dll} delay_${dll}_import)
    target_link_libraries(delay_${dll} INTERFACE ${lib} delayimp)
  endforeach()
endif()

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
  if(QUILLON_FUZZ)
    # The fuzz tree builds and runs the fuzz targets only.
    set_target_properties(${name} PROPERTIES EXCLUDE_FROM_ALL ON)
    return()
  endif()
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

# quillon_fuzz_target(name sources... LIBS libs... [MAX_LEN bytes]): a libFuzzer
# target with its seed corpus in fuzz/corpus/<name>. Its ctest test is the
# regression run: every seed, then a few seconds of new inputs (kept in the
# build tree, so the seeds in the source tree stay as they are).
set(QUILLON_FUZZ_SECONDS 4 CACHE STRING "Seconds of new inputs per fuzz target in the regression run")
function(quillon_fuzz_target name)
  cmake_parse_arguments(T "" "MAX_LEN" "LIBS" ${ARGN})
  if(NOT T_MAX_LEN)
    set(T_MAX_LEN 4096)
  endif()
  add_executable(${name} ${T_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ${T_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set(corpus ${CMAKE_BINARY_DIR}/corpus/${name})
  file(MAKE_DIRECTORY ${corpus})
  add_test(NAME ${name}
           COMMAND ${name} -max_total_time=${QUILLON_FUZZ_SECONDS} -max_len=${T_MAX_LEN} -timeout=10
                   -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix=${CMAKE_BINARY_DIR}/findings/${name}-
                   ${corpus} ${PROJECT_SOURCE_DIR}/fuzz/corpus/${name})
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/findings)
  set_tests_properties(${name} PROPERTIES TIMEOUT 120 LABELS fuzz)
  set_property(GLOBAL APPEND PROPERTY QUILLON_FUZZ_TARGETS "${name}:${T_MAX_LEN}")
endfunction()
