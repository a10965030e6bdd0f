# SPDX-License-Identifier: MIT
# The definition in a real LAVA dispatcher (Debian 12's lava-run) on an
# emulated qemu device, with the job and the device dictionary of
# docs/packaging.md: it passes; with a one-second limit both cases fail; with
# no script to be found the definition's run fails. The images are made once
# in the build folder (again when what they are made from changes); skipped
# where lava-run, the images or root are not to be had. Where the gbm build
# is made, the display-less board's job runs it on the device with a
# virtio-gpu, and brindle's trace must be the gbm build's golden one. An
# arm64 build runs the first job and the display-less board's on the
# emulated arm64 board (the other two try the definition, the same on any
# device).
set(lava_run ${here}/lava_run.sh)
set(brindle_gbm none)
set(cases pass short_timeout missing_script)
if(CMAKE_CROSSCOMPILING)
  set(cases pass)
endif()
if(TARGET brindle_gbm)
  set(brindle_gbm $<TARGET_FILE:brindle_gbm>)
  list(APPEND cases gbm)
endif()
add_test(NAME lava_run_prepare COMMAND ${lava_run} prepare ${CMAKE_CPACK_COMMAND} ${PROJECT_BINARY_DIR}
         ${PROJECT_BINARY_DIR}/lava ${brindle_gbm})
set_tests_properties(lava_run_prepare PROPERTIES FIXTURES_SETUP lava_images RESOURCE_LOCK install_manifest)
foreach(case ${cases})
  set(trace)
  if(case STREQUAL "gbm")
    set(trace ${PROJECT_SOURCE_DIR}/tests/native/golden/gbm_window_trace.txt)
  endif()
  packaging_test(lava_run_${case} lava ${lava_run} run ${PROJECT_BINARY_DIR}/lava ${case} ${trace})
  set_tests_properties(lava_run_${case} PROPERTIES FIXTURES_REQUIRED lava_images RESOURCE_LOCK lava_run)
  list(APPEND lava_run_tests lava_run_${case})
endforeach()
set_tests_properties(lava_run_prepare ${lava_run_tests} PROPERTIES
                     LABELS "packaging;lava;lava-run" SKIP_RETURN_CODE 77 TIMEOUT 600)
