// SPDX-License-Identifier: MIT
// The EGL sweep of brindle: every EGL 1.0 entry point at least once, on a main
// surface of the first kind the platform can make (window, else pbuffer, else
// pixmap) and on short-lived surfaces of the other kinds, with each error
// code classified by check_egl or drained.
#ifndef EGLSWEEP_SWEEP_H
#define EGLSWEEP_SWEEP_H

#include <EGL/egl.h>

// Runs the whole sweep; returns when every classified code passed, ends the
// run through fail_run otherwise (or when no surface of any kind can be made).
void run_sweep();

// Follow-up checks on surfaces of the kinds the main surface is not. Each
// makes and releases its own configuration, surface and native object and
// uses the main surface only as an argument.
void test_window_surface();
void test_pbuffer_surface();
void test_pixmap_surface();

#endif
