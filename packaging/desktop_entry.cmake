# Writes the desktop entry of an installed Agelark. Exec names the launcher by
# its full path, so the menu entry starts the program whether or not the
# prefix's bin folder is on the desktop session's PATH (~/.local/bin often is
# not until the next login).
#   cmake -DTEMPLATE=entry.in -DLAUNCHER=/prefix/bin/agelark -DOUTPUT=file -P desktop_entry.cmake
# The install runs it with these variables set.

if(LAUNCHER MATCHES "[\n\r]")
  message(FATAL_ERROR "A desktop entry cannot start a program whose path holds a line break: ${LAUNCHER}")
endif()

# A prefix given relative to the working folder.
if(NOT IS_ABSOLUTE "${LAUNCHER}")
  get_filename_component(LAUNCHER "${LAUNCHER}" ABSOLUTE)
endif()

# Exec quoting: a path with anything but plain characters is put in double
# quotes, inside which \ " ` $ take a backslash; % is doubled everywhere.
set(exec "${LAUNCHER}")
string(REPLACE "%" "%%" exec "${exec}")
if(NOT exec MATCHES "^[A-Za-z0-9/._+,:@%=-]+$")
  string(REPLACE "\\" "\\\\" exec "${exec}")
  string(REPLACE "\"" "\\\"" exec "${exec}")
  string(REPLACE "`" "\\`" exec "${exec}")
  string(REPLACE "$" "\\$" exec "${exec}")
  set(exec "\"${exec}\"")
endif()
# The entry's own string escaping then doubles every backslash.
string(REPLACE "\\" "\\\\" exec "${exec}")

file(READ "${TEMPLATE}" entry)
string(REPLACE "@AGELARK_LAUNCHER@" "${exec}" entry "${entry}")
message(STATUS "Installing: ${OUTPUT}")
file(WRITE "${OUTPUT}" "${entry}")
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${OUTPUT}")
