// Recording stand-in for the native hooks of brindle, linked into test builds
// in place of native_null.cpp. Every hook call is noted in the fake's call
// record, between the EGL calls around it.
#ifndef TESTS_EGLSWEEP_NATIVE_RECORDING_H
#define TESTS_EGLSWEEP_NATIVE_RECORDING_H

// Back to null handles (the behaviour of native_null.cpp). With objects on,
// the creating hooks give distinct non-null handles 1, 2, 3... instead,
// recorded as native1, native2... like the fake's EGL calls show them.
void native_recording_reset(bool make_objects);

#endif
