// Date serials, the date-box texts that turn into them and back, and file
// names under the application folder.

#include <QTest>

#include <cmath>

#include "age.h"
#include "app_path.h"
#include "date_text.h"

using namespace agelark;

class DateTextTest : public QObject {
    Q_OBJECT
private slots:
    void serials_data() {
        QTest::addColumn<double>("serial");
        QTest::addColumn<double>("expected");
        QTest::newRow("day zero") << dateSerial(1899, 12, 30) << 0.0;
        QTest::newRow("1899-12-31") << dateSerial(1899, 12, 31) << 1.0;
        QTest::newRow("2020-11-10") << dateSerial(2020, 11, 10) << 44145.0;
        QTest::newRow("2026-12-05 11:10") << dateSerial(2026, 12, 5, 11, 10, 0) << 46361.0 + 40200.0 / 86400;
        // Before day zero the fraction, without its sign, is still the time of day.
        QTest::newRow("1899-12-29 06:00") << dateSerial(1899, 12, 29, 6, 0, 0) << -1.25;
        // Fields past their range carry over into the next month, year or day.
        QTest::newRow("month 13") << dateSerial(2015, 13, 1) << dateSerial(2016, 1, 1);
        QTest::newRow("month 0") << dateSerial(2016, 0, 15) << dateSerial(2015, 12, 15);
        QTest::newRow("day 0") << dateSerial(2016, 3, 0) << dateSerial(2016, 2, 29);
        QTest::newRow("February 30") << dateSerial(2023, 2, 30) << dateSerial(2023, 3, 2);
        QTest::newRow("hour 30 before day zero") << dateSerial(1899, 12, 29, 30, 0, 0) << 0.25;
        QTest::newRow("second 86,400") << dateSerial(2020, 1, 1, 0, 0, 86400) << dateSerial(2020, 1, 2);
    }
    void serials() {
        QFETCH(double, serial);
        QFETCH(double, expected);
        QVERIFY2(std::abs(serial - expected) < 1e-9, qPrintable(QString::number(serial, 'f', 9)));
    }

    void civilFromNegativeSerial() {
        QCOMPARE(civilFromSerial(-1.25), (CivilDateTime{1899, 12, 29, 6, 0, 0}));
        QCOMPARE(civilFromSerial(-0.25), (CivilDateTime{1899, 12, 30, 6, 0, 0}));
        QVERIFY_THROWS_EXCEPTION(AgeArithmeticError, civilFromSerial(1e7));
    }

    void parse_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<double>("expected");
        const double newYear = dateSerial(2015, 1, 1), tenPm = dateSerial(2015, 1, 1, 22, 0, 0);
        QTest::newRow("MM/DD/YYYY") << QByteArray("01/01/2015") << newYear;
        QTest::newRow("month first") << QByteArray("09/11/1977") << dateSerial(1977, 9, 11);
        QTest::newRow("with a time") << QByteArray("01/01/2015 22:00:00") << tenPm;
        QTest::newRow("single digits") << QByteArray("1/1/2015") << newYear;
        QTest::newRow("hours and minutes") << QByteArray("3/4/2000 7:05") << dateSerial(2000, 3, 4, 7, 5, 0);
        QTest::newRow("PM") << QByteArray("1/1/2015 10:00:00 PM") << tenPm;
        QTest::newRow("pm, no blank") << QByteArray("1/1/2015 10:00pm") << tenPm;
        QTest::newRow("12 AM") << QByteArray("1/1/2015 12:30:00 AM") << dateSerial(2015, 1, 1, 0, 30, 0);
        QTest::newRow("12 PM") << QByteArray("1/1/2015 12:30:00 PM") << dateSerial(2015, 1, 1, 12, 30, 0);
        QTest::newRow("year 00") << QByteArray("1/1/00") << dateSerial(2000, 1, 1);
        QTest::newRow("year 29") << QByteArray("12/31/29") << dateSerial(2029, 12, 31);
        QTest::newRow("year 30") << QByteArray("1/1/30") << dateSerial(1930, 1, 1);
        QTest::newRow("year 99") << QByteArray("1/1/99") << dateSerial(1999, 1, 1);
        QTest::newRow("ISO date") << QByteArray("2015-01-01") << newYear;
        QTest::newRow("ISO with blank") << QByteArray("2015-01-01 22:00:00") << tenPm;
        QTest::newRow("ISO with T") << QByteArray("2015-01-01T22:00:00") << tenPm;
        QTest::newRow("time alone") << QByteArray("22:00:00") << 22.0 / 24;
        QTest::newRow("blanks around") << QByteArray("  \t01/01/2015 22:00:00 \t") << tenPm;
        QTest::newRow("leap day") << QByteArray("2/29/2024") << dateSerial(2024, 2, 29);
        QTest::newRow("last second") << QByteArray("12/31/9999 23:59:59") << dateSerial(9999, 12, 31, 23, 59, 59);
    }
    void parse() {
        QFETCH(QByteArray, text);
        QFETCH(double, expected);
        QCOMPARE(parseDateText(text.toStdString()), expected);
    }

    void reject_data() {
        QTest::addColumn<QByteArray>("text");
        for (const char* text :
             {"", "   ", "Tuesday", "02/30/2015", "13/01/2015", "2/29/2023", "0/1/2015", "1/0/2015",
              "01/01/2015 junk", "01/01/2015x", "01/01/2015 22:00:00 PMX", "01/01/2015 24:00:00", "01/01/2015 23:60",
              "01/01/2015 23:59:60", "01/01/2015 13:00 PM", "01/01/2015 22:", "01/01/2015 22:0", "1/1/215",
              "1/1/20155", "2015-1-01", "2015-13-01", "2015-01-01T", "2015-01-01x", "01-01-2015", "01/01",
              "22", "22:00:00 01/01/2015", "-1/1/2015", "1/1/2015 10:00 A"})
            QTest::newRow(text) << QByteArray(text);
    }
    void reject() {
        QFETCH(QByteArray, text);
        QVERIFY_THROWS_EXCEPTION(DateConversionError, parseDateText(text.toStdString()));
    }

    // The now-box text reads back to the very second it was written for.
    void formatRoundTrip_data() {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("day");
        QTest::addColumn<int>("hour");
        QTest::addColumn<int>("minute");
        QTest::addColumn<int>("second");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("midnight") << 2026 << 12 << 5 << 0 << 0 << 0 << QByteArray("12/5/2026 12:00:00 AM");
        QTest::newRow("one second past") << 2026 << 12 << 5 << 0 << 0 << 1 << QByteArray("12/5/2026 12:00:01 AM");
        QTest::newRow("morning") << 2026 << 12 << 5 << 11 << 10 << 0 << QByteArray("12/5/2026 11:10:00 AM");
        QTest::newRow("noon") << 2000 << 3 << 4 << 12 << 0 << 0 << QByteArray("3/4/2000 12:00:00 PM");
        QTest::newRow("afternoon") << 2045 << 9 << 29 << 15 << 14 << 8 << QByteArray("9/29/2045 3:14:08 PM");
        QTest::newRow("last second of a day") << 2024 << 2 << 29 << 23 << 59 << 59 << QByteArray("2/29/2024 11:59:59 PM");
        QTest::newRow("1900") << 1900 << 1 << 1 << 6 << 7 << 8 << QByteArray("1/1/1900 6:07:08 AM");
        QTest::newRow("day zero") << 1899 << 12 << 30 << 13 << 0 << 0 << QByteArray("12/30/1899 1:00:00 PM");
        QTest::newRow("three-digit year") << 100 << 1 << 1 << 0 << 5 << 9 << QByteArray("1/1/0100 12:05:09 AM");
        QTest::newRow("9999") << 9999 << 12 << 31 << 23 << 59 << 59 << QByteArray("12/31/9999 11:59:59 PM");
    }
    void formatRoundTrip() {
        QFETCH(int, year);
        QFETCH(int, month);
        QFETCH(int, day);
        QFETCH(int, hour);
        QFETCH(int, minute);
        QFETCH(int, second);
        QFETCH(QByteArray, text);
        const CivilDateTime moment{year, month, day, hour, minute, second};
        const std::string written = formatDateText(moment);
        QCOMPARE(QByteArray::fromStdString(written), text);
        const double serial = parseDateText(written);
        QCOMPARE(serial, dateSerial(moment));
        QCOMPARE(civilFromSerial(serial), moment);
    }

    void appPaths_data() {
        QTest::addColumn<QByteArray>("folder");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("notes") << QByteArray("/opt/agelark") << QByteArray("\\Notes.txt")
                               << QByteArray("/opt/agelark/Notes.txt");
        QTest::newRow("case kept") << QByteArray("/home/u/app") << QByteArray("\\Jag.jpg")
                                   << QByteArray("/home/u/app/Jag.jpg");
        QTest::newRow("nested") << QByteArray("/a") << QByteArray("\\pics\\GBM.jpg") << QByteArray("/a/pics/GBM.jpg");
        QTest::newRow("empty folder") << QByteArray("") << QByteArray("\\ps2.jpg") << QByteArray("/ps2.jpg");
    }
    void appPaths() {
        QFETCH(QByteArray, folder);
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, expected);
        QCOMPARE(QByteArray::fromStdString(appPath(folder.toStdString(), name.toStdString())), expected);
    }
};

QTEST_APPLESS_MAIN(DateTextTest)
#include "test_date_text.moc"
