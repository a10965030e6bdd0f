// SPDX-License-Identifier: MIT
// Run loop and frame function of quillet_cl: one frame function call runs the
// whole test, frame after frame, until the last driver has wrapped.
#include "primitives/run_loop.h"

#include <GLES/gl.h>

#include <cstdio>

#include "fixedmath/fixedmath.h"
#include "harness/harness.h"
#include "primitives/dispatcher.h"
#include "primitives/draw.h"

namespace {

constexpr GLfixed FIXED_2 = 0x20000;
constexpr GLfixed FIXED_48 = 0x300000;
enum { VIEWPORT_SIZE = 48 };

// Orthographic projection, column-major: object x and y from -24 to 24 fill
// the viewport and z is negated.
void load_projection() {
  GLfixed matrix[16] = {};
  matrix[0] = fixed_div(FIXED_2, FIXED_48);
  matrix[5] = fixed_div(FIXED_2, FIXED_48);
  matrix[10] = -FIXED_ONE;
  matrix[12] = -fixed_div(0, FIXED_48);
  matrix[13] = -fixed_div(0, FIXED_48);
  matrix[15] = FIXED_ONE;
  glMatrixMode(GL_PROJECTION);
  glLoadMatrixx(matrix);
  glMatrixMode(GL_MODELVIEW);
}

}  // namespace

void run_frames(FrameFunction frame_fn) {
  RunState state = {1, {0, 0, 0, 0}};
  while (frame_fn(&state) != 0) {
  }
}

std::int32_t run_test_frame(RunState* state) {
  if (state->run_flag != 1) {
    return 1;
  }
  glViewport(0, 0, VIEWPORT_SIZE, VIEWPORT_SIZE);
  glScissor(0, 0, VIEWPORT_SIZE, VIEWPORT_SIZE);
  load_projection();
  // The only clear of the run.
  glClearColorx(0, 0, 0, FIXED_ONE);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

  dispatch_drivers(DRIVER_OP_INIT);
  unsigned long frames = 0;
  std::int32_t more = 1;
  while (more != 0) {
    dispatch_drivers(DRIVER_OP_STATUS);
    ++frames;
    dispatch_drivers(DRIVER_OP_SET);
    draw_primitives();
    more = dispatch_drivers(DRIVER_OP_UPDATE);
  }
  dispatch_drivers(DRIVER_OP_END);

  // Straight to standard output: the frame count never reaches the log file.
  if (harness_state.verbose_level != 0) {
    std::printf("\n%lu Combinations.\n", frames);
    std::fflush(stdout);
  }
  log_message(0, "quillet (fixed point) passed.\n");
  log_message(0, "\n");
  return 0;
}
