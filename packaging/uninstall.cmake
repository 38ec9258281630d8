# SPDX-License-Identifier: BSD-3-Clause
# Removes what the last install of this build put where it put it, as
# recorded in RECORD (first line: the program folder; then one installed file
# a line, DESTDIR included; then, after "[created folders]", the folders that
# install created), then the program folder's empty folders and the created
# folders that are empty. With nothing to remove it says so and succeeds.
if(NOT EXISTS "${RECORD}")
  message("Nothing to uninstall: this build folder has no record of an install "
          "(${RECORD} is written by the install and removed by a completed uninstall).")
  return()
endif()
file(STRINGS "${RECORD}" lines)
list(POP_FRONT lines program_dir)
list(FIND lines "[created folders]" split)
set(created "")
if(split GREATER_EQUAL 0)
  list(SUBLIST lines ${split} -1 created)
  list(POP_FRONT created)
  list(SUBLIST lines 0 ${split} lines)
endif()
list(LENGTH lines total)
set(removed 0)
set(missing 0)
foreach(file ${lines})
  if(IS_SYMLINK "${file}" OR EXISTS "${file}")
    message(STATUS "Removing ${file}")
    file(REMOVE "${file}")
    math(EXPR removed "${removed} + 1")
  else()
    math(EXPR missing "${missing} + 1")
  endif()
endforeach()
if(removed EQUAL 0)
  message("Nothing to uninstall: none of the ${total} files installed into "
          "${program_dir} and beside it is there any more (moved or removed "
          "already). Nothing was removed.")
  return()
endif()

# Removes the folder when it holds nothing.
function(remove_if_empty dir)
  if(IS_DIRECTORY "${dir}" AND NOT IS_SYMLINK "${dir}")
    file(GLOB content LIST_DIRECTORIES true "${dir}/*" "${dir}/.*")
    if(NOT content)
      file(REMOVE_RECURSE "${dir}")  # known to be empty
    endif()
  endif()
endfunction()
# Deepest first: a folder sorts after the folders inside it.
if(IS_DIRECTORY "${program_dir}")
  file(GLOB_RECURSE left LIST_DIRECTORIES true "${program_dir}/*")
  list(SORT left ORDER DESCENDING)
  foreach(dir ${left} "${program_dir}")
    remove_if_empty("${dir}")
  endforeach()
endif()
list(SORT created ORDER DESCENDING)
foreach(dir ${created})
  remove_if_empty("${dir}")
endforeach()
file(REMOVE "${RECORD}")
if(missing GREATER 0)
  message(STATUS "Removed ${removed} of ${total} installed files; "
                 "${missing} were no longer there.")
else()
  message(STATUS "Removed all ${total} installed files.")
endif()
