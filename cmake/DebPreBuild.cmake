# SPDX-License-Identifier: MIT
# CPack pre-build script of the Debian package: runs inside cpack after the
# programs are staged and before the package is made.

# A cross build's package: dpkg-shlibdeps reads the programs with the
# target's objdump and looks their libraries up among the target's
# multiarch packages only when it is told the target architecture.
if(CPACK_DEBIAN_PACKAGE_ARCHITECTURE AND NOT DEFINED ENV{DEB_HOST_ARCH})
  set(ENV{DEB_HOST_ARCH} "${CPACK_DEBIAN_PACKAGE_ARCHITECTURE}")
endif()

set(root "${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
set(doc "${root}/share/doc/${CPACK_PACKAGE_NAME}")
set(debian "${CPACK_QB_SOURCE_DIR}/contrib/debian")

# The compiler's version notes (.comment) of the already stripped programs:
# nothing on the board reads them.
file(GLOB programs "${root}/bin/*")
foreach(program IN LISTS programs)
  execute_process(COMMAND "${CPACK_QB_STRIP}" --remove-section=.comment "${program}" RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${CPACK_QB_STRIP} --remove-section=.comment ${program} failed")
  endif()
endforeach()

# The copyright file, in Debian's machine-readable format: the holder and the
# licence text as LICENSE gives them.
file(READ "${CPACK_QB_SOURCE_DIR}/LICENSE" licence)
if(NOT licence MATCHES "^MIT License\n\nCopyright \\(c\\) ([^\n]+)\n\n(.*[^\n])\n*$")
  message(FATAL_ERROR "LICENSE is not the MIT licence under one copyright line")
endif()
set(holder "${CMAKE_MATCH_1}")
string(REPLACE "\n\n" "\n.\n" text "${CMAKE_MATCH_2}")
string(REPLACE "\n" "\n " text "${text}")
file(WRITE "${doc}/copyright" "\
Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: ${CPACK_PACKAGE_NAME}

Files: *
Copyright: ${holder}
License: Expat
 ${text}
")
file(CHMOD "${doc}/copyright" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)

# The changelog, whose first entry must be this version.
file(READ "${debian}/changelog" changelog)
if(NOT changelog MATCHES "^${CPACK_PACKAGE_NAME} \\(${CPACK_PACKAGE_VERSION}\\) ")
  message(FATAL_ERROR "contrib/debian/changelog: the first entry is not version ${CPACK_PACKAGE_VERSION}")
endif()
configure_file("${debian}/changelog" "${doc}/changelog" COPYONLY NO_SOURCE_PERMISSIONS)

# Debian ships manual pages and changelogs compressed (gzip -9n: best
# compression, no name or time stamp inside); `cmake --install` keeps the
# pages plain.
file(GLOB_RECURSE staged "${CPACK_TEMPORARY_DIRECTORY}/*.[1-9]")
list(FILTER staged INCLUDE REGEX "/man/man[1-9]/[^/]+\\.[1-9]$")
foreach(file IN LISTS staged ITEMS "${doc}/changelog")
  execute_process(COMMAND gzip -9nf "${file}" RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "gzip -9nf ${file} failed")
  endif()
endforeach()
