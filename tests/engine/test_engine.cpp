// The age engine: the date-box texts and the serials they name,
// the age text and the console report, and the two ways a count fails.

#include <QTest>

#include <cmath>
#include <limits>

#include "engine/age.h"
#include "engine/catalogue.h"
#include "engine/date_text.h"

using namespace agelark;

namespace {

QByteArray bytes(std::string_view s) { return QByteArray(s.data(), qsizetype(s.size())); }

constexpr double notANumber = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
constexpr double rejected = notANumber;
const double nov12 = dateSerial(2020, 11, 12);
const double lastSecond = dateSerial(2020, 11, 12 + 24855, 3, 14, 7);  // 2,147,483,647 s after nov12
const QByteArray overflow = "<AgeOverflow>", noMoment = "<AgeArithmeticError>";

}  // namespace

class EngineTest : public QObject {
    Q_OBJECT
private slots:
    // Days since 12/30/1899 and the time of day as their fraction, from the forms the date boxes take, read month
    // first; a time alone is on day zero. Any other text is rejected. The now-box text reads back to its second.
    void parse_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<double>("expected");
        QTest::addColumn<bool>("written");  // the now-box text formatDateText writes for that moment
        const auto row = [](const char* name, const char* text, double expected, bool written = false) {
            QTest::newRow(name) << QByteArray(text) << expected << written;
        };
        const double newYear = dateSerial(2015, 1, 1), tenPm = dateSerial(2015, 1, 1, 22, 0, 0);
        row("day zero", "12/30/1899", 0.0);
        row("days since day zero, month first", "11/10/2020", 44145.0);
        row("before day zero: the time of day unsigned", "12/29/1899 6:00", -1.25);
        row("single digits", "1/1/2015", newYear);
        row("blanks around", " \t01/01/2015\t ", newYear);
        row("pm, no blank", "1/1/2015 10:00pm", tenPm);
        row("year 29", "12/31/29", dateSerial(2029, 12, 31));
        row("year 30", "1/1/30", dateSerial(1930, 1, 1));
        row("ISO", "2015-01-01", newYear);
        row("ISO with a time", "2015-01-01 22:00:00", tenPm);
        row("ISO with T", "2015-01-01T22:00:00", tenPm);
        row("time alone", "22:00:00", 22.0 / 24);
        row("leap day", "2/29/2024", dateSerial(2024, 2, 29));
        row("midnight, 12 AM", "12/5/2026 12:00:00 AM", dateSerial(2026, 12, 5), true);
        row("noon, 12 PM", "3/4/2000 12:00:00 PM", dateSerial(2000, 3, 4, 12, 0, 0), true);
        row("afternoon", "9/29/2045 3:14:08 PM", dateSerial(2045, 9, 29, 15, 14, 8), true);
        row("year 100", "1/1/0100 12:05:09 AM", dateSerial(100, 1, 1, 0, 5, 9), true);
        for (const char* text : {"", "   ", "Tuesday", "02/30/2015", "2/29/2023", "13/01/2015", "01/01/2015 junk",
                                 "01/01/2015 24:00:00", "01/01/2015 23:59:60", "01/01/2015 13:00 PM", "01/01/2015 22:0",
                                 "1/1/215", "1/001/2015", "2015-1-01", "2015-01-01T", "2015-01-0122:00", "22:00:00 01/01/2015"})
            row(text, text, rejected);
    }
    void parse() {
        QFETCH(QByteArray, text);
        QFETCH(double, expected);
        QFETCH(bool, written);
        if (std::isnan(expected))
            QVERIFY_THROWS_EXCEPTION(DateConversionError, parseDateText(text.toStdString()));
        else
            QCOMPARE(parseDateText(text.toStdString()), expected);
        if (written) QCOMPARE(bytes(formatDateText(civilFromSerial(expected))), text);
    }

    // Under one day the report is the age text alone, whichever console asks;
    // past 32 bits of seconds, or from no moment at all, the two fail alike.
    void ages_data() {
        QTest::addColumn<double>("then");
        QTest::addColumn<double>("now");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("86,399 s") << nov12 << dateSerial(2020, 11, 12, 23, 59, 59) << QByteArray("23:59:59");
        QTest::newRow("86,400 s") << nov12 << dateSerial(2020, 11, 13) << QByteArray("1 Days, 00:00:00");
        QTest::newRow("-3,599 s") << nov12 << dateSerial(2020, 11, 11, 23, 0, 1) << QByteArray("00:59:59");
        QTest::newRow("-42 h") << nov12 << dateSerial(2020, 11, 10, 6, 0, 0) << QByteArray("18:00:00");
        QTest::newRow("-2,147,483,648 s") << lastSecond + 1.0 / 86400 << nov12 << QByteArray("03:14:08");
        QTest::newRow("24,856 calendar days, an hour short")
            << dateSerial(2000, 1, 1, 23, 0, 0) << dateSerial(2068, 1, 20) << QByteArray("24855 Days, 01:00:00");
        QTest::newRow("before day zero") << -1.25 << 0.5 << QByteArray("1 Days, 06:00:00");
        QTest::newRow("far outside the calendar") << 1e9 << 1e9 + 1 << QByteArray("1 Days, 00:00:00");
        QTest::newRow("-2,147,483,649 s") << lastSecond + 2.0 / 86400 << nov12 << overflow;
        QTest::newRow("a time alone against today") << parseDateText("22:00:00") << nov12 << overflow;
        QTest::newRow("largest doubles") << -std::numeric_limits<double>::max() << std::numeric_limits<double>::max()
                                         << overflow;
        QTest::newRow("then not a number") << notANumber << 44000.0 << noMoment;
        QTest::newRow("now infinite") << 44000.0 << inf << noMoment;
    }
    void ages() {
        QFETCH(double, then);
        QFETCH(double, now);
        QFETCH(QByteArray, expected);
        if (expected == overflow) {
            QVERIFY_THROWS_EXCEPTION(AgeOverflow, agelark::ageText(then, now));
            QVERIFY_THROWS_EXCEPTION(AgeOverflow, reportText(catalogue()[0], then, now));
        } else if (expected == noMoment) {
            QVERIFY_THROWS_EXCEPTION(AgeArithmeticError, agelark::ageText(then, now));
            QVERIFY_THROWS_EXCEPTION(AgeArithmeticError, reportText(catalogue()[0], then, now));
        } else {
            QCOMPARE(bytes(agelark::ageText(then, now)), expected);
            if (!expected.contains("Days")) QCOMPARE(bytes(reportText(catalogue().back(), then, now)), expected);
        }
    }
};

QTEST_APPLESS_MAIN(EngineTest)
#include "test_engine.moc"
