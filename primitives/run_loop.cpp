// Run loop. The frame function is a placeholder until the drivers land: it
// performs no frame and ends the loop.
#include "primitives/run_loop.h"

void run_frames(FrameFunction frame_fn) {
  RunState state = {1, {0, 0, 0, 0}};
  while (frame_fn(&state) != 0) {
  }
}

std::int32_t run_test_frame(RunState* state) {
  if (state->run_flag != 1) {
    return 1;
  }
  return 0;
}
