// The helpers are inline in the header; this unit keeps the test library's list of sources as it is.
#include "tests/support/notes_files.h"
