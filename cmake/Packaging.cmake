# SPDX-License-Identifier: MIT
# Installation and Debian packaging of the two programs.
#
# `cmake --install` puts the programs in bin/, their manual pages in
# share/man/man1/ and the LAVA test definition and its script in
# share/quillet-brindle/lava/ under CMAKE_INSTALL_PREFIX (DESTDIR is
# honoured). Nothing else of the build installs: the libraries are static and linked into the
# programs, and the test suite, the recording fake and the benchmarks have no
# install rules. `cpack -G DEB` turns the same layout into a package whose
# dependencies dpkg-shlibdeps derives from the programs' shared libraries,
# with the copyright file (from LICENSE) and the changelog
# (contrib/debian/changelog) that every Debian package carries, and built
# with Debian's hardening flags (Hardening.cmake).
include(GNUInstallDirs)

# The programs of this build that get installed; brindle only once its
# target exists.
set(QB_INSTALLED_PROGRAMS quillet_cl)
if(TARGET brindle)
  list(APPEND QB_INSTALLED_PROGRAMS brindle)
endif()

foreach(program IN LISTS QB_INSTALLED_PROGRAMS)
  install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT programs)
  install(FILES ${PROJECT_SOURCE_DIR}/man/${program}.1
          DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT programs)
endforeach()
# The definition finds the script here, beside bin/, on a device that has
# the programs installed but not this repository.
install(PROGRAMS ${PROJECT_SOURCE_DIR}/contrib/lava/run-conformance.sh
        DESTINATION ${CMAKE_INSTALL_DATADIR}/quillet-brindle/lava COMPONENT programs)
install(FILES ${PROJECT_SOURCE_DIR}/contrib/lava/graphics-conformance.yaml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/quillet-brindle/lava COMPONENT programs)

# A parent build (an SDK, a board image) packages on its own terms: it gets
# the install rules above but no CPack set-up of ours.
if(NOT QB_TOP_LEVEL)
  return()
endif()

# A distribution or a board vendor that ships the package names its own
# maintainer here.
set(QB_PACKAGE_CONTACT "quillet_cl and brindle maintainers <maintainers@quillet-brindle.example.org>"
    CACHE STRING "Maintainer field of the Debian package: NAME <ADDRESS>")

set(CPACK_PACKAGE_NAME quillet-brindle)
set(CPACK_PACKAGE_VENDOR "quillet_brindle")
set(CPACK_PACKAGE_CONTACT "${QB_PACKAGE_CONTACT}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "EGL 1.x and OpenGL ES 1.x (Common-Lite) conformance test programs")
set(CPACK_PACKAGE_DESCRIPTION
    "quillet_cl walks 13 GL state drivers of OpenGL ES 1.x through every
combination of their values on an off-screen pbuffer and fails on the first
GL error. brindle checks the EGL constants and calls every EGL 1.0 entry
point with valid and degenerate arguments, classifying each EGL error code.
Both judge the implementation by its error codes alone.")
set(CPACK_GENERATOR DEB)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)

# dpkg-shlibdeps names the packages of the shared libraries the programs
# load (on Debian 12: libegl1, libgles1 and libc6, with the versions their
# symbols need). A cross build needs the target architecture's libraries
# installed through multiarch for it; QB_DEB_SHLIBDEPS=OFF writes the
# package names without versions instead.
option(QB_DEB_SHLIBDEPS "Derive the package's dependencies with dpkg-shlibdeps" ON)
if(QB_DEB_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  set(native_depends_x11 ", libx11-6")
  set(native_depends_wayland ", libwayland-client0, libwayland-egl1")
  set(native_depends_gbm ", libgbm1, libdrm2")
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libegl1, libgles1, libc6${native_depends_${BRINDLE_NATIVE}}")
endif()

# Neither libegl1 nor libegl-mesa0 brings Mesa's drivers (the software
# rasterizers included); without them Mesa's EGL initializes no display. An
# image whose EGL is a vendor's leaves the recommendation out.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS libgl1-mesa-dri)

# CPack asks dpkg for the architecture, which is the build machine's; a cross
# build names the target's.
if(CMAKE_CROSSCOMPILING)
  if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(aarch64|arm64)$")
    set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE arm64)
  elseif(CMAKE_SYSTEM_PROCESSOR MATCHES "^arm")
    # armhf passes floating-point arguments in VFP registers, armel does not.
    include(CheckSymbolExists)
    check_symbol_exists(__ARM_PCS_VFP "" QB_ARM_HARD_FLOAT_ABI)
    if(QB_ARM_HARD_FLOAT_ABI)
      set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE armhf)
    else()
      set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE armel)
    endif()
  elseif(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|amd64)$")
    set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE amd64)
  elseif(CMAKE_SYSTEM_PROCESSOR MATCHES "^riscv64$")
    set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE riscv64)
  endif()
endif()

# The hardening flags of the architecture above.
include(Hardening)

# Adds the copyright file and the changelog, strips the compiler's notes from
# the programs, compresses the staged manual pages and the changelog and, for
# a cross build, points dpkg-shlibdeps at the target architecture.
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/DebPreBuild.cmake)
set(CPACK_QB_SOURCE_DIR ${PROJECT_SOURCE_DIR})
set(CPACK_QB_STRIP ${CMAKE_STRIP})

include(CPack)
