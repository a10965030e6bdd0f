# SPDX-License-Identifier: MIT
# Writes the reference texts of quillet_cl's whole-program tests into DIR
# (cmake -DPROGRAM=... -DDIR=... -P reference.cmake): quillet.out, what
# `PROGRAM -v` prints, and quillet.log, the same less the frame-count line,
# which the log file never gets.
list(GET PROGRAM -1 program)
if(NOT EXISTS "${program}")
  # A cross build compares with the native build's fake-linked program.
  message(FATAL_ERROR "${program} is not built: build it first with "
          "'cmake --build --preset default --target quillet_cl_fake' (make cross-run does)")
endif()
execute_process(COMMAND ${PROGRAM} -v OUTPUT_VARIABLE out RESULT_VARIABLE status)
string(REGEX REPLACE "\n[0-9]+ Combinations\\.\n" "" log "${out}")
if(NOT status EQUAL 0 OR log STREQUAL out OR NOT out MATCHES "\nquillet \\(fixed point\\) passed\\.\n\n$")
  message(FATAL_ERROR "${PROGRAM} -v: exit status ${status}, without a frame count or a passed verdict")
endif()
file(WRITE ${DIR}/quillet.out "${out}")
file(WRITE ${DIR}/quillet.log "${log}")
