# Whole runs of the cross-built programs under the emulator, on the target's
# own Mesa (softpipe, headless), judged by exit status and verdict line and,
# when QB_NATIVE_REFERENCE_DIR names a native build folder, by comparing the
# standard output byte for byte with that of the native programs run the same
# way. Label "cross".
set(QB_NATIVE_REFERENCE_DIR "" CACHE PATH
    "Native build folder whose quillet_cl and brindle give the reference output of the emulated runs")

if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
  message(STATUS "No CMAKE_CROSSCOMPILING_EMULATOR: emulated program runs skipped")
  return()
endif()

# softpipe: llvmpipe's code generator is far slower under user-mode emulation.
set(qb_emulated_env "EGL_PLATFORM=surfaceless;GALLIUM_DRIVER=softpipe;DISPLAY=;WAYLAND_DISPLAY=")
set(qb_run_quillet_cl_verdict "quillet (fixed point) passed.")
set(qb_run_brindle_verdict "brindle passed.")

foreach(program quillet_cl brindle)
  if(NOT TARGET ${program})
    continue()
  endif()
  if(QB_NATIVE_REFERENCE_DIR)
    set(name emulated_${program}_matches_native)
    set(native ${QB_NATIVE_REFERENCE_DIR}/${program})
  else()
    set(name emulated_${program}_passes)
    set(native -)
  endif()
  add_test(NAME ${name}
    COMMAND ${CMAKE_CURRENT_LIST_DIR}/run_on_target.sh "${qb_run_${program}_verdict}" 0 ${native} -v
            -- ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:${program}>)
  set_tests_properties(${name} PROPERTIES
    LABELS "cross;surfaceless-softpipe" TIMEOUT 600 ENVIRONMENT "${qb_emulated_env}")
endforeach()
