#pragma once
// Writing the pad's text to the notes file without ever writing over text that
// the pad did not load.

#include <QByteArray>
#include <QString>

#include "notes/file_stamp.h"
#include "notes/pad_state.h"

namespace agelark {

struct WriteAttempt {
    bool written = false;
    FileStamp stamp;  // written: the file as it is now; not written: what the file holds, which stopped it
};

// With the notes folder locked against other copies of the program, looks at
// the file at `path`: where nothing is there, or it holds just what `allowed`
// says (the version the pad loaded, last saved, or the user agreed to
// replace), writes `content` there (see replaceFile). Otherwise writes
// nothing and tells what the file holds now. A missing folder is made first.
// Throws FileError.
WriteAttempt writeUnlessChanged(const QString& path, const QByteArray& content, const NotesRecord& allowed);

}  // namespace agelark
