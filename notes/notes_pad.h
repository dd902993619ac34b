#pragma once
// The notes pad of the main window: its text, what that text stands for in
// the notes file, and its loading at every load of the main window.

#include <QPlainTextEdit>

#include "notes/notes_file.h"

namespace agelark {

enum class PadPhase {
    Loading,   // the file is being read: read-only
    Editing,   // the user types, Save writes
    ReadOnly,  // the pad cannot hold the file exactly (too big, lines too long): Save refuses
};

// What the pad knows of the notes file.
struct PadState {
    PadPhase phase = PadPhase::Editing;
    Loaded file;     // what was at the notes path when the pad got its text or was last saved
    QString text;    // the pad's text then: while it holds just that, Save writes nothing
    int load = 0;    // the reading of the file the pad waits for
};

// What a rebuild of the main window keeps of its pad: its text and state,
// while the user can edit it. Otherwise the new window loads the file afresh.
struct KeptNotes {
    PadState state;
    QString text;
    bool kept = false;
};

class NotesPad : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit NotesPad(QWidget* parent);

    // The pad of the main window shown now: a main window made afresh takes
    // over from the one before (with what it kept, or what it read).
    static NotesPad* current();

    // The pad's text exactly as the user typed it. Unlike toPlainText it keeps
    // non-breaking spaces; every line break, also one typed with Shift, reads as "\n".
    QString text() const;
    PadState& state() { return state_; }

    // The pad turns read-only and the notes file (see notesToRead) is read on
    // the notes thread; its text comes into the pad in one go. No file leaves
    // the pad's first text; an unreadable one is told, and Save asks before
    // replacing it. A file too big for the pad, or with lines too long to
    // edit, leaves the pad read-only and is told.
    void load();
    KeptNotes kept() const;
    // Whether the user typed what no save has written.
    bool unsaved() const { return state_.phase == PadPhase::Editing && text() != state_.text; }
    // The pad takes what `kept` holds, and its own load is let go.
    void keep(const KeptNotes& kept);

signals:
    // A save this pad asked for is complete on disk.
    void saved();

private:
    void fill(const Loaded& found, const QString& shown, bool inPieces, const QStringList& kept);
    PadState state_;
};

}  // namespace agelark
