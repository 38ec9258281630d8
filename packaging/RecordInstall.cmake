# SPDX-License-Identifier: BSD-3-Clause
# Run last by every install: records where this install really put its files
# and which folders it created, for the uninstall target. CMake's own manifest
# lists the paths without the DESTDIR stage folder, so removing what it lists
# after a staged install would delete a real installation under the prefix
# instead.
# Expects ORBIX_BINARY_DIR and ORBIX_INSTALL_DIR (relative to the prefix).
set(stage "$ENV{DESTDIR}")
set(program_dir "${stage}${CMAKE_INSTALL_PREFIX}/${ORBIX_INSTALL_DIR}")
if(CMAKE_INSTALL_COMPONENT)
  set(suffix "_${CMAKE_INSTALL_COMPONENT}")
endif()
set(content "${program_dir}\n")
foreach(file ${CMAKE_INSTALL_MANIFEST_FILES})
  string(APPEND content "${stage}${file}\n")
endforeach()
# The folders this install created, as NoteFolders.cmake found them.
set(folders "${ORBIX_BINARY_DIR}/install_folders${suffix}.txt")
file(STRINGS "${folders}" created)
string(APPEND content "[created folders]\n")
foreach(folder ${created})
  string(APPEND content "${folder}\n")
endforeach()
file(REMOVE "${folders}")
file(WRITE "${ORBIX_BINARY_DIR}/install_record${suffix}.txt" "${content}")
