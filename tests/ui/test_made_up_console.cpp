// Adding a console takes its catalogue row and its button's place on its page,
// nothing else: this test is built with a made-up console of its own (the
// AGELARK_MADE_UP_CONSOLE lines of the catalogue and the main window's
// design), and the console appears on its page and counts like the others.

#include <QFile>
#include <QPushButton>

#include "engine/age.h"
#include "engine/catalogue.h"
#include "engine/date_text.h"
#include "platform/controls.h"
#include "tests/support/test_program.h"

using namespace agelark;
using namespace agelark::testing;

class MadeUpConsoleTest : public QObject {
    Q_OBJECT
private slots:
    void aCatalogueRowAndAButtonPlaceMakeAConsole() {
        const ConsoleEntry* pong = entryForButton(WindowId::Form1, "cmdPong");
        QVERIFY(pong);
        TestProgram program;
        QVERIFY(QFile::copy(program.path("atari2600.jpg"), program.path("pong.jpg")));
        program.start();
        program.processEvents();

        auto button = program.find<QPushButton>("Form1", "cmdPong");
        QVERIFY(button);
        QCOMPARE(button->text(), QString("PONG"));
        QCOMPARE(button->parentWidget(), program.tabs()->page(0));  // on the Atari page, below the JAGUAR
        QVERIFY(button->y() > program.find<QPushButton>("Form1", "cmdCommandJag")->y());

        program.click("Form1", "cmdPS2");
        program.click("Form1", "cmdCommand7800");
        program.click("Form1", "cmdPong");
        QCOMPARE(program.running("Form1"), QStringList({"Timer22", "Timer6", "TimerPong"}));
        program.tick("Form1", "TimerPong");
        QCOMPARE(program.text("Form1", "lblLabel1"),
                 QString::fromStdString(reportText(*pong, parseDateText("11/29/1972"), dateSerial(program.clock.now()))));
        QVERIFY(program.text("Form1", "lblLabel1").startsWith(" The Pong was released \r\n19729 Days, 11:10:00 Ago "));
        QVERIFY(program.messages.shown.isEmpty());
    }
};

QTEST_MAIN(MadeUpConsoleTest)
#include "test_made_up_console.moc"
