// SPDX-License-Identifier: MIT
// The operations of the 13 GL state drivers, as the driver table holds them.
#ifndef PRIMITIVES_DRIVERS_H
#define PRIMITIVES_DRIVERS_H

#include <cstdint>

namespace quillet {

// Each driver has init, set and status of its own (see DriverRow).

// Drivers without value lists; their update is update_on_off.
std::int32_t anti_aliasing_init(void** data);
std::int32_t anti_aliasing_set(std::int32_t enabled, void* data);
void anti_aliasing_status(std::int32_t enabled, void* data);
std::int32_t dither_init(void** data);
std::int32_t dither_set(std::int32_t enabled, void* data);
void dither_status(std::int32_t enabled, void* data);
std::int32_t scissor_init(void** data);
std::int32_t scissor_set(std::int32_t enabled, void* data);
void scissor_status(std::int32_t enabled, void* data);

// Single-list drivers; their update is update_cursors.
std::int32_t alpha_init(void** data);
std::int32_t alpha_set(std::int32_t enabled, void* data);
void alpha_status(std::int32_t enabled, void* data);
std::int32_t depth_init(void** data);
std::int32_t depth_set(std::int32_t enabled, void* data);
void depth_status(std::int32_t enabled, void* data);
std::int32_t fog_init(void** data);
std::int32_t fog_set(std::int32_t enabled, void* data);
void fog_status(std::int32_t enabled, void* data);
std::int32_t logic_op_init(void** data);
std::int32_t logic_op_set(std::int32_t enabled, void* data);
void logic_op_status(std::int32_t enabled, void* data);
std::int32_t shading_init(void** data);
std::int32_t shading_set(std::int32_t enabled, void* data);
void shading_status(std::int32_t enabled, void* data);

// Multi-list drivers; their update is update_cursors.
std::int32_t hint_init(void** data);
std::int32_t hint_set(std::int32_t enabled, void* data);
void hint_status(std::int32_t enabled, void* data);
std::int32_t blend_init(void** data);
std::int32_t blend_set(std::int32_t enabled, void* data);
void blend_status(std::int32_t enabled, void* data);
std::int32_t lighting_init(void** data);
std::int32_t lighting_set(std::int32_t enabled, void* data);
void lighting_status(std::int32_t enabled, void* data);
std::int32_t stencil_init(void** data);
std::int32_t stencil_set(std::int32_t enabled, void* data);
void stencil_status(std::int32_t enabled, void* data);

// Texture; its update is update_cursors.
std::int32_t texture_init(void** data);
std::int32_t texture_set(std::int32_t enabled, void* data);
void texture_status(std::int32_t enabled, void* data);

// The update of the on/off drivers: wrapped after their single combination.
std::int32_t update_on_off(void* data);

}  // namespace quillet

#endif
