# SPDX-License-Identifier: BSD-3-Clause
# What the WebAssembly build needs beyond the compiler: run-time errors are
# exceptions, and the header-only libraries of the host ({fmt}, RapidJSON) are
# reached through an include folder holding only them, never the host's whole
# include folder.
add_compile_options(-fexceptions)
add_link_options(-fexceptions)

find_path(ORBIX_HOST_FMT fmt/format.h PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
find_path(RAPIDJSON_INCLUDE_DIR rapidjson/writer.h PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH
          REQUIRED)
set(hosted ${PROJECT_BINARY_DIR}/include/hosted)
file(MAKE_DIRECTORY ${hosted})
file(CREATE_LINK ${ORBIX_HOST_FMT}/fmt ${hosted}/fmt SYMBOLIC)
file(CREATE_LINK ${RAPIDJSON_INCLUDE_DIR}/rapidjson ${hosted}/rapidjson SYMBOLIC)
set(RAPIDJSON_INCLUDE_DIR ${hosted})

add_library(fmt::fmt INTERFACE IMPORTED)
target_include_directories(fmt::fmt INTERFACE ${hosted})
target_compile_definitions(fmt::fmt INTERFACE FMT_HEADER_ONLY=1)
