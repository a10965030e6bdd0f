// SPDX-License-Identifier: MIT
// Forced into a build of brindle: the EGL header as a vendor might ship it
// with one wrong number, EGL_BAD_ALLOC carrying the value of EGL_BAD_ATTRIBUTE.
#pragma once
#include <EGL/egl.h>
#undef EGL_BAD_ALLOC
#define EGL_BAD_ALLOC 0x3004
