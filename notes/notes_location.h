#pragma once
// Where the notes live: the one place that decides, for loading and saving alike.

#include <QString>

namespace agelark {

struct NotesFiles {
    QString read;   // the file the pad is loaded from
    QString write;  // the file "Save Changes" writes
};

// The user's own copy, Notes.txt in the per-user data folder
// (QStandardPaths::AppDataLocation), once there is one: read and written.
// Otherwise Notes.txt beside the program, where this user may write it (or
// make it); where the system denies that (a system-wide install), the first
// save makes the user's own copy, and until then the notes are read from beside
// the program. A file that nobody may write counts as denied too.
NotesFiles notesFiles();

// Notes.txt in the per-user data folder; empty when the system names no such folder.
QString ownNotesFile();

}  // namespace agelark
