// SPDX-License-Identifier: MIT
// brindle: checks the EGL constants of the build, then sweeps every EGL 1.0
// entry point and judges the implementation by its error codes. Exit status
// 0 on pass; 1 on failure, after the help text and after option errors.
#include "eglsweep/enum_check.h"
#include "eglsweep/sweep.h"
#include "harness/harness.h"

int main(int argc, char** argv) {
  harness_state.verbose_level = 0;
  if (parse_options(argc, argv) == OPTIONS_STOP) {
    return 1;
  }
  open_log_file();
  print_banner("EGL Brindle.\n");
  check_enumerations();
  run_sweep();
  log_message(0, "brindle passed.\n\n");
  close_log_file();
  return 0;
}
