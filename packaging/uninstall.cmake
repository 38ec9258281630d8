# Removes what the last install of this build put where it put it, as
# recorded in RECORD (first line: the program folder; then one installed file
# a line, DESTDIR included), then the program folder if nothing else is left
# in it. Fails with a plain message when there is nothing to remove.
if(NOT EXISTS "${RECORD}")
  message(FATAL_ERROR "Nothing to uninstall: this build folder has no record of an install "
                      "(${RECORD} does not exist; it is written by the install and removed "
                      "by a completed uninstall).")
endif()
file(STRINGS "${RECORD}" lines)
list(POP_FRONT lines program_dir)
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
  message(FATAL_ERROR "Nothing to uninstall: none of the ${total} files installed into "
                      "${program_dir} and beside it is there any more (moved or removed "
                      "already). Nothing was removed.")
endif()
# The program folder's empty folders, deepest first.
if(IS_DIRECTORY "${program_dir}")
  file(GLOB_RECURSE left LIST_DIRECTORIES true "${program_dir}/*")
  list(SORT left ORDER DESCENDING)
  foreach(dir ${left} "${program_dir}")
    if(IS_DIRECTORY "${dir}" AND NOT IS_SYMLINK "${dir}")
      file(GLOB content LIST_DIRECTORIES true "${dir}/*" "${dir}/.*")
      if(NOT content)
        file(REMOVE_RECURSE "${dir}")  # known to be empty
      endif()
    endif()
  endforeach()
endif()
file(REMOVE "${RECORD}")
if(missing GREATER 0)
  message(STATUS "Removed ${removed} of ${total} installed files; "
                 "${missing} were no longer there.")
else()
  message(STATUS "Removed all ${total} installed files.")
endif()
