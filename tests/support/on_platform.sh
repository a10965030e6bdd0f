#!/bin/sh
# SPDX-License-Identifier: MIT
# The command prefix of every test that runs on the platform's EGL and
# OpenGL ES: runs COMMAND here, or behind QB_PLATFORM_WRAPPER (a command line
# split at spaces), which the mesa-current test preset sets to run it inside
# the root of tools/mesa-current.sh.
#   on_platform.sh COMMAND [ARGS...]
# shellcheck disable=SC2086
exec ${QB_PLATFORM_WRAPPER:-} "$@"
