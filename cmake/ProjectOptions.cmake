# SPDX-License-Identifier: MIT
# Compiler settings shared by every target of the project's own code.
include(CheckCXXCompilerFlag)

add_library(project_options INTERFACE)
target_compile_features(project_options INTERFACE cxx_std_17)
set(CMAKE_CXX_EXTENSIONS OFF)

# Warnings live in one interface target; every project target links it.
# They are errors in the presets (CMAKE_COMPILE_WARNING_AS_ERROR), not in
# every build of the sources: an SDK's newer compiler may warn of more.
add_library(project_warnings INTERFACE)
target_compile_options(project_warnings INTERFACE -Wall -Wextra)

# Static checks (preset "static", which sets CMAKE_CXX_CLANG_TIDY and
# CMAKE_CXX_CPPCHECK): every compile of the product also runs clang-tidy
# (.clang-tidy) and cppcheck, and a finding fails the build; so does a C or
# C++ file of the tree that clang-format (.clang-format) would change.
if(CMAKE_CXX_CLANG_TIDY)
  file(GLOB_RECURSE qb_formatted CONFIGURE_DEPENDS RELATIVE ${PROJECT_SOURCE_DIR}
       ${PROJECT_SOURCE_DIR}/*.c ${PROJECT_SOURCE_DIR}/*.cpp ${PROJECT_SOURCE_DIR}/*.h)
  list(FILTER qb_formatted EXCLUDE REGEX "^build/")
  add_custom_target(format_check ALL COMMAND clang-format --dry-run --Werror ${qb_formatted}
                    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR})
endif()
