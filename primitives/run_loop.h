// SPDX-License-Identifier: MIT
// Run loop of quillet_cl.
#ifndef PRIMITIVES_RUN_LOOP_H
#define PRIMITIVES_RUN_LOOP_H

#include <cstdint>

// Owned by the run loop; the frame function reads only run_flag.
struct RunState {
  std::int32_t run_flag;
  std::int32_t reserved[4];
};

typedef std::int32_t (*FrameFunction)(RunState* state);

// Calls frame_fn until it returns 0.
void run_frames(FrameFunction frame_fn);

// The frame function of quillet_cl: runs the whole test in one call, returns 0.
std::int32_t run_test_frame(RunState* state);

#endif
