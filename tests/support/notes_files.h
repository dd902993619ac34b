#pragma once
// The notes file as tests meet it: its bytes, odd things in its place, the pad, another copy, other users.

#include "tests/support/test_program.h"

namespace agelark::testing {

QByteArray fileBytes(const QString& path);  // "<unreadable>" when it cannot be read
bool writeFile(const QString& path, const QByteArray& bytes);

// What a test puts at a notes path: the file a TestProgram starts with, as it is; nothing; a folder; a pipe; a link.
enum class AtNotesPath { Notes, Nothing, Folder, Pipe, Link };
bool placeAtPath(const QString& path, AtNotesPath what, const QString& target = {});

QString padNow(const TestProgram& program);  // the pad's text as the user typed it
// The pad given `text`, then Save Changes, `meanwhile`, and the event loop until what follows has come.
void save(TestProgram& program, const QString& text, const std::function<void()>& meanwhile = {});

// Locks a notes folder as another copy of the program saving there; closing the descriptor lets go.
int lockAsAnotherCopy(const QString& folder);
// Copies the built program folder (the program, its pictures, a notes file) into `folder`.
bool copyProgramFolder(const QString& folder);
// setpriv(1) options to run as `user`, made on first use (no home, no login, group agelark-share); needs root.
QStringList asUser(const QString& user);

}  // namespace agelark::testing
