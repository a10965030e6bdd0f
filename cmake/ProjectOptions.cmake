# Compiler settings shared by every target of the project's own code.
include(CheckCXXCompilerFlag)

add_library(project_options INTERFACE)
target_compile_features(project_options INTERFACE cxx_std_17)
set(CMAKE_CXX_EXTENSIONS OFF)

# Warnings live in one interface target; every project target links it.
add_library(project_warnings INTERFACE)
target_compile_options(project_warnings INTERFACE -Wall -Wextra -Werror)
