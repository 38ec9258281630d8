# SPDX-License-Identifier: BSD-3-Clause
# Run by the install: writes the desktop entries naming the launch scripts by
# their full path under the prefix of this install (cmake --install --prefix
# may differ from the configured one).
# Expects SOURCE_DIR, OUTPUT_DIR and BINDIR (relative to the prefix).

# The path as one argument of an Exec key: quoted only when it holds a
# character the desktop entry format reserves (a quoted program is taken
# literally by some launchers), escaped inside the quotes, then escaped again
# as a string value; a literal % is doubled.
function(exec_argument path out)
  if(path MATCHES "[ \t\n\"'\\\\><~|&;$*?#()`]")
    string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" path "${path}")
    set(path "\"${path}\"")
  endif()
  string(REPLACE "\\" "\\\\" path "${path}")
  string(REPLACE "\n" "\\n" path "${path}")
  string(REPLACE "\t" "\\t" path "${path}")
  string(REPLACE "%" "%%" path "${path}")
  set(${out} "${path}" PARENT_SCOPE)
endfunction()

foreach(entry orbix portico)
  exec_argument("${CMAKE_INSTALL_PREFIX}/${BINDIR}/${entry}" ORBIX_EXEC)
  configure_file("${SOURCE_DIR}/${entry}.desktop.in" "${OUTPUT_DIR}/${entry}.desktop" @ONLY)
endforeach()
