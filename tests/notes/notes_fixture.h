#pragma once
// Steps shared by the notes tests: the file's bytes, the pad, and a save
// followed by a fresh start of the main window.

#include <QFile>
#include <QPlainTextEdit>
#include <QTest>

#include "notes_pad.h"
#include "test_program.h"
#include "windows.h"

namespace agelark::testing {

inline QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

inline void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
}

inline QPlainTextEdit* pad(const TestProgram& program) { return program.find<QPlainTextEdit>("Form1", "txtNotes"); }

// Starts the program and lets the page view complete the notes document.
inline void startAndLoad(TestProgram& program) {
    program.start();
    program.processEvents();
}

// Unloads the main window and loads it afresh, as the next start of the program does.
inline void restart(TestProgram& program) {
    windows().unload("Form1");
    program.processEvents();
    startAndLoad(program);
}

}  // namespace agelark::testing
