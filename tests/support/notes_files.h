#pragma once
// The notes file as tests meet it: its bytes, and the pad's text.

#include <QFile>

#include "notes/notes_pad.h"
#include "tests/support/test_program.h"

namespace agelark::testing {

inline QByteArray fileBytes(const QString& path) {  // "<unreadable>" when it cannot be read
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

inline bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

inline QString padNow(const TestProgram& program) { return program.pad()->text(); }  // as the user typed it

}  // namespace agelark::testing
