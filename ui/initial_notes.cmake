# Writes a first notes file when there is none; never touches an existing one.
if(NOT EXISTS "${NOTES}")
  file(WRITE "${NOTES}" "Notes\r\n")
endif()
