// SPDX-License-Identifier: MIT
// Error classification of brindle: every EGL error code is of the passing or
// the failing class, and a failing code ends the run at once.
#ifndef EGLSWEEP_EGL_CHECK_H
#define EGLSWEEP_EGL_CHECK_H

#include <EGL/egl.h>

// Reads eglGetError once; returns when the code passes, ends the run with
// fail_run when it fails (EGL_NOT_INITIALIZED, EGL_BAD_ACCESS,
// EGL_BAD_ATTRIBUTE, EGL_BAD_DISPLAY, EGL_BAD_PARAMETER, EGL_BAD_SURFACE).
// The code is never printed.
void check_egl();

// Prints the failed verdict and exits with status 1. Nothing is released:
// no EGL object is destroyed and eglTerminate is not called.
[[noreturn]] void fail_run();

#endif
