# SPDX-License-Identifier: BSD-3-Clause
# Shared boilerplate of every target: warnings, calculation-safe floating point,
# sanitizers.

function(orbix_target_defaults target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic
    # Results must not depend on the machine: no fused multiply-add contraction.
    -ffp-contract=off)
  if(ORBIX_BUILD_FUZZ)
    # Coverage instrumentation for the libraries the fuzz targets link.
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
  endif()
  if(ORBIX_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer
      -fno-sanitize-recover=undefined)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()

# orbix_include_root(var name path...): an include folder in the build tree
# that holds only links to the given files or folders of the source tree, at
# the same relative paths, so "#include <path>" reaches them and nothing else.
function(orbix_include_root var name)
  set(root ${PROJECT_BINARY_DIR}/include/${name})
  foreach(path ${ARGN})
    get_filename_component(parent ${root}/${path} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${path} ${root}/${path} SYMBOLIC)
  endforeach()
  set(${var} ${root} PARENT_SCOPE)
endfunction()

# orbix_add_library(name SOURCES ... [HEADERS path...]): a static library whose
# headers (by default its whole source folder) are reachable through an include
# root of its own. A target sees only the headers of the libraries it links, so
# a layer including one it does not depend on fails to build.
function(orbix_add_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;HEADERS" ${ARGN})
  if(NOT ARG_HEADERS)
    file(RELATIVE_PATH ARG_HEADERS ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  endif()
  add_library(${name} STATIC ${ARG_SOURCES})
  add_library(orbix::${name} ALIAS ${name})
  orbix_include_root(root ${name} ${ARG_HEADERS})
  target_include_directories(${name} PUBLIC ${root})
  set_target_properties(${name} PROPERTIES POSITION_INDEPENDENT_CODE ON)
  orbix_target_defaults(${name})
endfunction()

# An executable placed in the program folder.
function(orbix_add_program name)
  cmake_parse_arguments(ARG "" "" "SOURCES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${ORBIX_PROGRAM_DIR})
  orbix_target_defaults(${name})
endfunction()

# orbix_add_test(name SOURCES ... LIBS ...): one GoogleTest executable, registered with CTest.
function(orbix_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;ENV" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    ORBIX_PROGRAM_DIR="${ORBIX_PROGRAM_DIR}/"
    ORBIX_SOURCE_DIR="${PROJECT_SOURCE_DIR}/"
    ORBIX_BINARY_DIR="${PROJECT_BINARY_DIR}/")
  orbix_include_root(tests_root tests tests)
  target_include_directories(${name} PRIVATE ${tests_root})
  orbix_target_defaults(${name})
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;${ARG_ENV}")
endfunction()
