#pragma once
// The notes file as the tests meet it: its bytes, odd things in its place,
// another copy of the program saving, the pad, and other users of the computer.

#include <QByteArray>
#include <QString>
#include <optional>

#include "tests/support/test_program.h"

class QPlainTextEdit;

namespace agelark::testing {

QByteArray fileBytes(const QString& path);  // "<unreadable>" when it cannot be read
bool writeFile(const QString& path, const QByteArray& bytes);

// What a test puts at a notes path in place of what was there; a link leads to `target`.
enum class AtNotesPath { Nothing, Folder, Pipe, Link };
bool placeAtPath(const QString& path, AtNotesPath what, const QString& target = {});

QPlainTextEdit* pad(const TestProgram& program);
QString padNow(const TestProgram& program);
// Notes.txt holding `notes` (left as it is when none), then the program started with its notes loaded.
void startWith(TestProgram& program, const std::optional<QByteArray>& notes);
// The pad given `text`, then Save Changes, and the event loop until what follows has come.
void save(TestProgram& program, const QString& text);

// Takes the lock that copies of the program take on a notes folder to save,
// as another copy saving would; closing the descriptor given lets it go.
int lockAsAnotherCopy(const QString& folder);

// A copy of the built program folder (the program, its pictures, a notes file) in `folder`.
bool copyProgramFolder(const QString& folder);

// The options of setpriv(1) that run a command as the unprivileged test user
// `user` ("agelark-ann", "agelark-bob"), who is made on first use, with no home
// and no login, in the group "agelark-share". Needs root.
QStringList asUser(const QString& user);

}  // namespace agelark::testing
