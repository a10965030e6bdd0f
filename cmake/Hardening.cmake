# SPDX-License-Identifier: MIT
# Hardening of the build the package is made from, the way a Debian package
# build hardens its programs: the flags that `dpkg-buildflags` adds for its
# hardening features (fortified libc calls, stack protector, format string
# checks, read-only relocations bound at start-up), for the package's
# architecture. Where dpkg-buildflags is missing, the same flags as Debian 12
# gives them. A parent build (an SDK, a board image) never gets here: it
# brings its own flags.
#
# On by default for the optimised build types only: _FORTIFY_SOURCE needs
# optimisation (and warns without it), and the sanitizer and coverage builds
# are Debug builds that keep their own flags. Every target of the project's
# own code gets the flags through project_options, so the libraries that the
# tests link are the ones that the programs link.
if(CMAKE_BUILD_TYPE MATCHES "^(Release|RelWithDebInfo|MinSizeRel)$" AND NOT QB_SANITIZE)
  set(hardening_default ON)
else()
  set(hardening_default OFF)
endif()
option(QB_HARDENING "Build with the distribution's hardening flags (dpkg-buildflags)" ${hardening_default})
if(NOT QB_HARDENING)
  return()
endif()

find_program(QB_DPKG_BUILDFLAGS dpkg-buildflags)
if(QB_DPKG_BUILDFLAGS)
  # What the hardening features add: each kind of flags with all of them
  # on, less the same kind with all of them off (the optimisation, debug and
  # file-name flags are in both).
  set(host_arch)
  if(CPACK_DEBIAN_PACKAGE_ARCHITECTURE)
    set(host_arch DEB_HOST_ARCH=${CPACK_DEBIAN_PACKAGE_ARCHITECTURE})
  endif()
  foreach(kind CPPFLAGS CFLAGS CXXFLAGS LDFLAGS)
    foreach(features +all -all)
      execute_process(
        COMMAND ${CMAKE_COMMAND} -E env ${host_arch} DEB_BUILD_MAINT_OPTIONS=hardening=${features}
                ${QB_DPKG_BUILDFLAGS} --get ${kind}
        OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
      separate_arguments(flags_${features} UNIX_COMMAND "${flags}")
    endforeach()
    if(flags_-all)
      list(REMOVE_ITEM flags_+all ${flags_-all})
    endif()
    set(hardening_${kind} ${flags_+all})
  endforeach()
else()
  set(hardening_CPPFLAGS -D_FORTIFY_SOURCE=2)
  set(hardening_CFLAGS -fstack-protector-strong -Wformat -Werror=format-security)
  set(hardening_CXXFLAGS ${hardening_CFLAGS})
  set(hardening_LDFLAGS -Wl,-z,relro -Wl,-z,now)
endif()
list(JOIN hardening_CXXFLAGS " " shown_compile)
list(JOIN hardening_LDFLAGS " " shown_link)
message(STATUS "Hardening: ${hardening_CPPFLAGS} ${shown_compile} ${shown_link}")

target_compile_options(project_options INTERFACE ${hardening_CPPFLAGS}
                       "$<$<COMPILE_LANGUAGE:C>:${hardening_CFLAGS}>"
                       "$<$<COMPILE_LANGUAGE:CXX>:${hardening_CXXFLAGS}>")
target_link_options(project_options INTERFACE ${hardening_LDFLAGS})
