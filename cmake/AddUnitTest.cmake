# SPDX-License-Identifier: MIT
# add_unit_test(NAME SOURCES src... [LIBS lib...] [LABELS label...] [TIMEOUT s])
# Builds one GoogleTest executable and registers its cases with CTest.
# Give one label: discovered tests cannot carry a list of labels; an area
# label for a whole folder goes on the folder (DIRECTORY property LABELS).
include(GoogleTest)

function(add_unit_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main
                                        project_options project_warnings)
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  # Under a user-mode emulator a run takes several times as long (armel's
  # soft-float most of all, on a loaded machine).
  if(CMAKE_CROSSCOMPILING_EMULATOR)
    math(EXPR ARG_TIMEOUT "${ARG_TIMEOUT} * 3")
  endif()
  if(NOT ARG_LABELS)
    set(ARG_LABELS unit)
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES LABELS "${ARG_LABELS}" TIMEOUT ${ARG_TIMEOUT})
endfunction()
