# CPack pre-build script of the Debian package: runs inside cpack after the
# programs are staged and before the package is made.

# A cross build's package: dpkg-shlibdeps reads the programs with the
# target's objdump and looks their libraries up among the target's
# multiarch packages only when it is told the target architecture.
if(CPACK_DEBIAN_PACKAGE_ARCHITECTURE AND NOT DEFINED ENV{DEB_HOST_ARCH})
  set(ENV{DEB_HOST_ARCH} "${CPACK_DEBIAN_PACKAGE_ARCHITECTURE}")
endif()

# Debian ships manual pages compressed (gzip -9n: best compression, no name
# or time stamp inside); `cmake --install` keeps them plain.
file(GLOB_RECURSE staged "${CPACK_TEMPORARY_DIRECTORY}/*.[1-9]")
foreach(page IN LISTS staged)
  if(NOT page MATCHES "/man/man[1-9]/[^/]+\\.[1-9]$")
    continue()
  endif()
  execute_process(COMMAND gzip -9nf "${page}" RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "gzip -9nf ${page} failed")
  endif()
endforeach()
