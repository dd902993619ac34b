#include "tests/support/notes_files.h"

#include <QFile>

#include "notes/notes_pad.h"

namespace agelark::testing {

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QString padNow(const TestProgram& program) { return program.pad()->text(); }

}  // namespace agelark::testing
