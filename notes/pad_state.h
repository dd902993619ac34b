#pragma once
// What the notes pad knows of the notes file: which version of which file its
// text stands for, and whether it is being loaded.

#include <QObject>
#include <QString>

#include "notes/file_stamp.h"

namespace agelark {

class FormWindow;

// The file the pad's text was loaded from or last saved to.
struct NotesRecord {
    enum class Kind {
        None,        // no load has ended yet
        Missing,     // there was no file: nobody's text is there to keep
        Unreadable,  // there was a file, but it could not be read
        Loaded,      // `stamp` is what the file held when the pad got its text
    };
    Kind kind = Kind::None;
    QString path;
    FileStamp stamp;
};

enum class PadPhase {
    Editing,   // the pad holds the whole text; the user types, Save writes
    Loading,   // the file is being read or put into the pad: read-only
    ReadOnly,  // the pad shows a file it cannot hold exactly (lines too long)
};

// Kept on the main window's pad, so it goes with the window.
class PadState : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    NotesRecord record;
    PadPhase phase = PadPhase::Editing;
    QString loadingFrom;  // the file whose document the pad waits for
};

// The state of the pad of the main window `form1`, made on first use.
PadState& padState(FormWindow* form1);

}  // namespace agelark
