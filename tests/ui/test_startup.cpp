// Start-up and closing of the program's windows.

#include <QLabel>
#include <QTest>
#include <QTimer>

#include "tab_control.h"
#include "test_program.h"

using namespace agelark;
using namespace agelark::testing;

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void mainWindowStartsOnAtariWithTitlePictureAndIdleCounters() {
        TestProgram program;
        program.start();
        FormWindow* form1 = program.window("Form1");
        QVERIFY(form1 && form1->isVisible());
        QCOMPARE(program.find<TabControl>("Form1", "SSTTab1")->currentIndex(), 0);
        for (const char* box : {"Picture1", "Picture2", "Picture3", "Picture4", "Picture5"})
            QVERIFY2(!program.find<QLabel>("Form1", box)->pixmap().isNull(), box);
        QCOMPARE(program.find<QLabel>("Form1", "lblClock")->text(), QString());
        for (QTimer* t : form1->findChildren<QTimer*>())
            QVERIFY2(t->objectName() == "Timer22" || !t->isActive(), qPrintable(t->objectName()));
        QVERIFY(program.messages.shown.isEmpty());
    }
};

QTEST_MAIN(StartupTest)
#include "test_startup.moc"
