// SPDX-License-Identifier: MIT
// quillet_cl: walks the GL state drivers over an off-screen pbuffer and
// reports GL errors. Always exits with status 0; the verdict is the text.
#include <cstdio>
#include <cstring>

#include "harness/harness.h"
#include "primitives/context.h"
#include "primitives/run_loop.h"

int main(int argc, char** argv) {
  harness_state.verbose_level = 0;
  if (parse_options(argc, argv) == OPTIONS_STOP) {
    std::fflush(stdout);
    end_run();
  }
  open_log_file();
  print_banner("OpenGL ES Quillet.\n");

  RenderTargetRequest request = {};
  std::strcpy(request.title, "Quillet");
  request.placement_x = 0;
  request.placement_y = 50;
  request.width = 480;
  request.height = 480;
  request.config_kind = 0;
  request.config_flags = CONFIG_FLAG_STENCIL;
  if (setup_context(&request) == 0) {
    request.config_flags = 0;
    if (setup_context(&request) == 0) {
      log_message(0, "Config requested not found.\n");
      end_run();
    }
  }
  run_frames(run_test_frame);
  end_run();
}
