// Run by tests/packaging/check_install_unprivileged.sh, as a user who may not
// write the installed program folder: the notes are read from the program
// folder's Notes.txt while the user has no copy of their own; the first save
// makes the user's own copy, which is read back at the next start, and the
// program folder's file stays as it was.

#include <QFile>
#include <QTest>

#include "tests/desktop/desktop_driver.h"

using namespace agelark::desktop;

namespace {

const QString mainTitle = QStringLiteral("Agelark v2.5");

QByteArray contentOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

Accessible notesPad(const Program& program) {
    const Accessible main = program.window(mainTitle);
    return main && program.showPage(main, "Custom") ? program.control(main, "text", "Notes") : Accessible();
}

}  // namespace

class InstalledNotes : public QObject {
    Q_OBJECT
private slots:
    void theUsersOwnCopy() {
        const QString launcher = qEnvironmentVariable("AGELARK_INSTALLED");
        const QString folder = qEnvironmentVariable("AGELARK_INSTALLED_FOLDER");
        const QString data = qEnvironmentVariable("XDG_DATA_HOME");
        if (launcher.isEmpty() || folder.isEmpty() || data.isEmpty())
            QSKIP("run by tests/packaging/check_install_unprivileged.sh");
        const QString own = data + "/Agelark/Notes.txt";
        const QByteArray shared = contentOf(folder + "/Notes.txt");
        QVERIFY(!QFile::exists(own));
        {
            Program program;
            program.executable = launcher;
            program.environment.insert("XDG_DATA_HOME", data);
            QVERIFY(program.start());
            const Accessible pad = notesPad(program);
            QCOMPARE(pad.text(), QString("shared notes\n"));
            QVERIFY(pad.type("mine"));
            QVERIFY(program.control(program.window(mainTitle), "push button", "Save Changes").press());
            const Accessible saved = program.window("Saved!");
            QVERIFY(saved && program.control(saved, "push button", "OK").press());
            QCOMPARE(program.boxesShown(), QStringList());
            QCOMPARE(contentOf(own), QByteArray("shared notes\r\nmine"));
            QCOMPARE(contentOf(folder + "/Notes.txt"), shared);
            QVERIFY(program.closeWindow(mainTitle));
            QVERIFY(program.endedNormally());
        }
        Program again;
        again.executable = launcher;
        again.environment.insert("XDG_DATA_HOME", data);
        QVERIFY(again.start());
        QCOMPARE(notesPad(again).text(), QString("shared notes\nmine"));
        QVERIFY(again.closeWindow(mainTitle));
        QVERIFY(again.endedNormally());
    }
};

QTEST_MAIN(InstalledNotes)
#include "test_installed_notes.moc"
