#pragma once
// Writing the pad's text to the notes file without ever writing over text that
// the pad did not load, nor through another user's link.

#include <QByteArray>
#include <QString>

#include "notes/notes_file.h"

namespace agelark {

// What the pad's text stands for: what was found at the notes path when the
// pad was loaded or last saved, or what the user agreed to replace.
struct Expected {
    Loaded at;
    bool agreed = false;  // the user was asked about `at` and chose Overwrite
};

struct WriteOutcome {
    bool written = false;  // false: the path holds something else than expected, nothing was written
    Loaded now;            // what the path holds now
};

// With the notes folder locked against other copies of the program, looks at
// `path` (see readNotes). Where it holds just what `expected` says, and that
// is nothing, a file the pad was loaded from, or what the user agreed to
// replace, `bytes` replace the file: written to a new file beside it, synced
// and renamed over it, so that a failure at any point leaves the old file
// whole. `unchanged` (the pad holds the file's text as loaded) writes nothing
// over a file found as expected. A missing folder of the user's own copy is
// made first. Throws FileError: another copy holding the folder past a
// second, a folder or pipe in the file's place, a full disk, the file-size limit.
WriteOutcome writeNotes(const QString& path, const QByteArray& bytes, const Expected& expected, bool unchanged);

}  // namespace agelark
