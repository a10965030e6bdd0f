# Registers the integer-only object check of the fixedmath library for a
# cross build to 32-bit ARM or AArch64, with its negative control. Included
# from tests/cross/CMakeLists.txt and from the standalone project beside it.
#
# Tests (label "cross"):
#   fixedmath_integer_only          the library's objects: no division,
#                                   64-bit or floating-point helper calls and
#                                   no floating-point or vector instruction
#   fixedmath_integer_only_control  the checker reports each such thing in a
#                                   file deliberately built to have them
set(qb_integer_only_check ${CMAKE_CURRENT_LIST_DIR}/check_integer_only.sh)

# The control file built with the target's ordinary flags (hardware
# floating point) and, on 32-bit ARM, also with software floating point.
# Each build lists the findings the checker must report in it ("|" between
# builds, so that the test command keeps them as one argument).
add_library(integer_only_control OBJECT ${CMAKE_CURRENT_LIST_DIR}/not_integer_only.cpp)
set(qb_control_objects "$<TARGET_OBJECTS:integer_only_control>")
if(CMAKE_SYSTEM_PROCESSOR MATCHES "^arm")
  set(qb_control_expect "fpinsn,vdiv.f64,__aeabi_ldivmod,__aeabi_idiv")
  add_library(integer_only_control_soft OBJECT ${CMAKE_CURRENT_LIST_DIR}/not_integer_only.cpp)
  target_compile_options(integer_only_control_soft PRIVATE -mfloat-abi=soft)
  string(APPEND qb_control_objects "|$<TARGET_OBJECTS:integer_only_control_soft>")
  string(APPEND qb_control_expect "|softfloat,__aeabi_ddiv,__aeabi_ldivmod,__aeabi_idiv")
else()
  # AArch64 divides integers in hardware; long double is done in software.
  set(qb_control_expect "fpinsn,fdiv,__divtf3")
endif()

add_test(NAME fixedmath_integer_only
  COMMAND ${qb_integer_only_check} ${CMAKE_NM} ${CMAKE_OBJDUMP} $<TARGET_FILE:fixedmath>)
add_test(NAME fixedmath_integer_only_control
  COMMAND ${CMAKE_COMMAND}
          -DCHECK=${qb_integer_only_check} -DNM=${CMAKE_NM} -DOBJDUMP=${CMAKE_OBJDUMP}
          "-DOBJECTS=${qb_control_objects}" "-DEXPECT=${qb_control_expect}"
          -P ${CMAKE_CURRENT_LIST_DIR}/run_control.cmake)
set_tests_properties(fixedmath_integer_only fixedmath_integer_only_control
  PROPERTIES LABELS cross TIMEOUT 120)
