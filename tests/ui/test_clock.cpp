// The clock on the "Custom" page: the time of day in the user's own format,
// always with seconds.

#include <QLabel>
#include <QLocale>
#include <QTest>
#include <QTime>

#include "clock.h"
#include "test_program.h"

using namespace agelark;
using namespace agelark::testing;

class ClockTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QLocale::setDefault(QLocale::system()); }

    void timeOfDayInTheLocalesFormat_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QTime>("time");
        QTest::addColumn<QString>("text");
        const QLocale us(QLocale::English, QLocale::UnitedStates);
        const QLocale german(QLocale::German, QLocale::Germany);
        QTest::newRow("US afternoon") << us << QTime(15, 7, 9) << "3:07:09 PM";
        QTest::newRow("US just after midnight") << us << QTime(0, 0, 5) << "12:00:05 AM";
        QTest::newRow("US noon") << us << QTime(12, 30, 0) << "12:30:00 PM";
        QTest::newRow("US morning") << us << QTime(9, 59, 59) << "9:59:59 AM";
        QTest::newRow("German afternoon") << german << QTime(15, 7, 9) << "15:07:09";
        QTest::newRow("German morning") << german << QTime(6, 5, 4) << "06:05:04";
        // Its own separators, and no time zone where the locale puts one first.
        QTest::newRow("Finnish") << QLocale(QLocale::Finnish, QLocale::Finland) << QTime(15, 7, 9) << "15.07.09";
        QTest::newRow("Chinese") << QLocale(QLocale::Chinese, QLocale::China) << QTime(15, 7, 9) << "15:07:09";
    }
    void timeOfDayInTheLocalesFormat() {
        QFETCH(QLocale, locale);
        QFETCH(QTime, time);
        QFETCH(QString, text);
        QCOMPARE(clockText(time, locale), text);
    }

    void everyLocaleShowsSeconds() {
        // Seconds are what make the clock visibly tick.
        const QTime a(15, 7, 9), b(15, 7, 10);
        for (const QLocale& locale : QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript,
                                                              QLocale::AnyTerritory)) {
            const QString first = clockText(a, locale);
            QVERIFY2(!first.isEmpty() && first != clockText(b, locale), qPrintable(locale.name()));
            QVERIFY2(first == first.trimmed(), qPrintable(locale.name()));
        }
    }

    void tickShowsTheClocksTimeUnderTheUsersSettings() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        TestProgram program;
        program.clock.set({2026, 12, 5, 15, 7, 9});
        program.start();
        auto clock = program.find<QLabel>("Form1", "lblClock");
        QCOMPARE(clock->text(), QString());
        program.tick("Form1", "Timer22");
        QCOMPARE(clock->text(), QString("3:07:09 PM"));

        // A change of the time or of the time format shows at the next tick.
        program.clock.advanceSeconds(1);
        program.tick("Form1", "Timer22");
        QCOMPARE(clock->text(), QString("3:07:10 PM"));
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        program.tick("Form1", "Timer22");
        QCOMPARE(clock->text(), QString("15:07:10"));
    }

    void clockTicksByItselfOnceLoaded() {
        TestProgram program;
        program.start();
        auto clock = program.find<QLabel>("Form1", "lblClock");
        QCOMPARE(clock->text(), QString());
        QTRY_VERIFY(!clock->text().isEmpty());
    }
};

QTEST_MAIN(ClockTest)
#include "test_clock.moc"
