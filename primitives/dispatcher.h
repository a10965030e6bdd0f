// SPDX-License-Identifier: MIT
// The driver table of quillet_cl and the dispatcher that runs one phase over
// all of its rows.
#ifndef PRIMITIVES_DISPATCHER_H
#define PRIMITIVES_DISPATCHER_H

#include <cstdint>

// The dispatcher's phase codes.
enum DriverOp : std::int32_t {
  DRIVER_OP_INIT = 0,
  DRIVER_OP_SET = 1,
  DRIVER_OP_STATUS = 2,
  DRIVER_OP_UPDATE = 3,
  DRIVER_OP_END = 4
};

// One GL state driver.
struct DriverRow {
  std::int32_t id;  // 0 to 12; -1 marks the terminator row
  // Stores the driver's record in *data (null for the on/off drivers) and sets
  // any one-time GL state; 1 when done, 0 when the record could not be allocated.
  std::int32_t (*init)(void** data);
  // Applies the current combination (enabled) or the disabled form; ends with check_gl.
  std::int32_t (*set)(std::int32_t enabled, void* data);
  // Prints the driver's state at level 1.
  void (*status)(std::int32_t enabled, void* data);
  // Advances the combination; nonzero when it has wrapped to the first one.
  std::int32_t (*update)(void* data);
  void* data;            // the record, owned by the row from Init to End
  std::int32_t enabled;  // 1 for the driver under test
  std::int32_t result;   // last Update result (1 for a disabled row)
};

// Runs one phase over every row. 1 on success (for Update: a further
// combination follows), 0 when Update has finished the last row. A GL error
// that a phase finds, or a record that Init could not allocate, prints the
// phase's message and ends the run with the failed verdict.
std::int32_t dispatch_drivers(DriverOp op);

// 0 when GL reports no error; otherwise prints the failed verdict and ends the run.
std::int32_t check_gl();

#endif
