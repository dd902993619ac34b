// The age text and the console report: the numbers and words the counters show,
// and the two ways an age computation fails.

#include <QTest>

#include <QScopeGuard>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>
#include <limits>
#include <vector>

#include "age.h"
#include "date_text.h"

using namespace agelark;

namespace {

const ConsoleEntry& entry(std::string_view ageFunction) {
    const ConsoleEntry* e = entryForAgeFunction(ageFunction);
    if (!e) qFatal("no entry %s", std::string(ageFunction).c_str());
    return *e;
}

QByteArray bytes(const std::string& s) { return QByteArray::fromStdString(s); }
QByteArray bytes(std::string_view s) { return QByteArray(s.data(), qsizetype(s.size())); }

// The day `days` after the count-from date of `e`, at the given time.
double afterCountFrom(const ConsoleEntry& e, int days, int h, int mi, int s) {
    using namespace std::chrono;
    const CivilDateTime from = civilFromSerial(parseDateText(e.countFromText));
    const year_month_day ymd{sys_days{year{from.year} / from.month / from.day} + std::chrono::days{days}};
    return dateSerial(int(ymd.year()), int(unsigned(ymd.month())), int(unsigned(ymd.day())), h, mi, s);
}

}  // namespace

class AgeTest : public QObject {
    Q_OBJECT
private slots:
    void workedExamples() {
        const double now = dateSerial(2026, 12, 5, 11, 10, 0);
        const ConsoleEntry& sx = entry("CalcDiffSXDates");
        const double then = parseDateText(sx.countFromText);
        QCOMPARE(bytes(reportText(sx, then, now)),
                 QByteArray(" The Xbox Series X was released \r\n2216 Days, 11:10:00 Ago \r\n"
                            " Released in the US on 11/10/2020 "));
        QCOMPARE(bytes(CalcDiffCUSDates(then, now)), QByteArray("2216 Days, 11:10:00"));
        QCOMPARE(bytes(callAgeFunction("CalcDiffps2Dates", parseDateText("03/04/2000"), now)),
                 QByteArray(" The PS2 was released \r\n9772 Days, 11:10:00 Ago \r\n Released in the US on 3/4/2000 "));
    }

    // Under one day the report is the age text alone, whichever console asks.
    void ageText_data() {
        QTest::addColumn<double>("then");
        QTest::addColumn<double>("now");
        QTest::addColumn<QByteArray>("expected");
        const double nov12 = dateSerial(2020, 11, 12);
        QTest::newRow("same moment") << nov12 << nov12 << QByteArray("00:00:00");
        QTest::newRow("86,399 s") << nov12 << dateSerial(2020, 11, 12, 23, 59, 59) << QByteArray("23:59:59");
        QTest::newRow("86,400 s") << nov12 << dateSerial(2020, 11, 13) << QByteArray("1 Days, 00:00:00");
        QTest::newRow("-21,600 s") << nov12 << dateSerial(2020, 11, 11, 18, 0, 0) << QByteArray("06:00:00");
        QTest::newRow("-42 h") << nov12 << dateSerial(2020, 11, 10, 6, 0, 0) << QByteArray("18:00:00");
        QTest::newRow("-3,599 s") << nov12 << dateSerial(2020, 11, 11, 23, 0, 1) << QByteArray("00:59:59");
        QTest::newRow("three days back") << nov12 << dateSerial(2020, 11, 8, 23, 59, 59) << QByteArray("00:00:01");
        QTest::newRow("2,147,483,647 s") << nov12 << dateSerial(2020, 11, 12 + 24855, 3, 14, 7)
                                         << QByteArray("24855 Days, 03:14:07");
        QTest::newRow("-2,147,483,648 s") << dateSerial(2020, 11, 12 + 24855, 3, 14, 8) << nov12
                                          << QByteArray("03:14:08");
        QTest::newRow("before day zero") << -1.25 << 0.5 << QByteArray("1 Days, 06:00:00");
        QTest::newRow("far outside the calendar") << 1e9 << 1e9 + 1 << QByteArray("1 Days, 00:00:00");
    }
    void ageText() {
        QFETCH(double, then);
        QFETCH(double, now);
        QFETCH(QByteArray, expected);
        QCOMPARE(bytes(CalcDiffCUSDates(then, now)), expected);
        if (!expected.contains("Days")) QCOMPARE(bytes(reportText(entry("CalcDiffGBMDates"), then, now)), expected);
    }

    void overflow_data() {
        QTest::addColumn<double>("then");
        QTest::addColumn<double>("now");
        const double nov12 = dateSerial(2020, 11, 12);
        QTest::newRow("2,147,483,648 s") << nov12 << dateSerial(2020, 11, 12 + 24855, 3, 14, 8);
        QTest::newRow("-2,147,483,649 s") << dateSerial(2020, 11, 12 + 24855, 3, 14, 9) << nov12;
        QTest::newRow("a time alone against today") << parseDateText("22:00:00") << nov12;
        QTest::newRow("finite but far apart") << 0.0 << 1e7;
        QTest::newRow("largest doubles") << -std::numeric_limits<double>::max() << std::numeric_limits<double>::max();
    }
    void overflow() {
        QFETCH(double, then);
        QFETCH(double, now);
        QVERIFY_THROWS_EXCEPTION(AgeOverflow, CalcDiffCUSDates(then, now));
        QVERIFY_THROWS_EXCEPTION(AgeOverflow, reportText(entry("CalcDiffps5Dates"), then, now));
    }

    void notANumber_data() {
        QTest::addColumn<double>("then");
        QTest::addColumn<double>("now");
        const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
        QTest::newRow("NaN then") << nan << 44000.0;
        QTest::newRow("NaN now") << 44000.0 << nan;
        QTest::newRow("+inf now") << 44000.0 << inf;
        QTest::newRow("-inf then") << -inf << 44000.0;
        QTest::newRow("inf minus inf") << inf << inf;
    }
    void notANumber() {
        QFETCH(double, then);
        QFETCH(double, now);
        QVERIFY_THROWS_EXCEPTION(AgeArithmeticError, CalcDiffCUSDates(then, now));
        QVERIFY_THROWS_EXCEPTION(AgeArithmeticError, callAgeFunction("CalcDiff2Dates", then, now));
    }

    // Each console stops counting 2,147,483,648 s after midnight of its count-from date.
    void firstFailingMoment_data() {
        QTest::addColumn<QByteArray>("ageFunction");
        for (const ConsoleEntry& e : catalogue()) QTest::newRow(e.ageFunction.data()) << bytes(e.ageFunction);
    }
    void firstFailingMoment() {
        QFETCH(QByteArray, ageFunction);
        const ConsoleEntry& e = entry(ageFunction.toStdString());
        const double then = parseDateText(e.countFromText);
        const QByteArray lastText = bytes(reportText(e, then, afterCountFrom(e, 24855, 3, 14, 7)));
        QCOMPARE(lastText.split('\n').value(1), QByteArray("24855 Days, 03:14:07 Ago \r"));
        QVERIFY_THROWS_EXCEPTION(AgeOverflow, callAgeFunction(e.ageFunction, then, afterCountFrom(e, 24855, 3, 14, 8)));
    }

    void earliestFailures() {
        // The Atari 2600 fails first, the Atari 5200 next, on these days.
        std::vector<std::pair<double, std::string_view>> failures;
        for (const ConsoleEntry& e : catalogue()) failures.emplace_back(afterCountFrom(e, 24855, 3, 14, 8), e.key);
        std::sort(failures.begin(), failures.end());
        QCOMPARE(bytes(failures[0].second), QByteArray("2"));
        QCOMPARE(failures[0].first, dateSerial(2045, 9, 29, 3, 14, 8));
        QCOMPARE(bytes(failures[1].second), QByteArray("5200"));
        QCOMPARE(failures[1].first, dateSerial(2050, 11, 19, 3, 14, 8));
    }

    void reportLines_data() {
        QTest::addColumn<QByteArray>("ageFunction");
        QTest::addColumn<double>("now");
        QTest::addColumn<int>("lines");
        QTest::newRow("ps5, release day") << QByteArray("CalcDiffps5Dates") << dateSerial(2020, 11, 12, 23, 59, 59) << 1;
        QTest::newRow("ps5, next day") << QByteArray("CalcDiffps5Dates") << dateSerial(2020, 11, 13) << 3;
        QTest::newRow("Nomad, years later") << QByteArray("CalcDiffNomadDates") << dateSerial(2024, 2, 29, 12, 0, 0) << 3;
        QTest::newRow("3DS, clock set back") << QByteArray("CalcDiff3DSDates") << dateSerial(2010, 1, 1) << 1;
    }
    void reportLines() {
        QFETCH(QByteArray, ageFunction);
        QFETCH(double, now);
        QFETCH(int, lines);
        const ConsoleEntry& e = entry(ageFunction.toStdString());
        const QByteArray text = bytes(reportText(e, parseDateText(e.countFromText), now));
        // Line breaks are CR LF pairs only, never a lone CR or LF.
        QCOMPARE(text.count('\r'), lines - 1);
        QCOMPARE(text.count('\n'), lines - 1);
        const QList<QByteArray> parts = text.split('\n');
        QCOMPARE(parts.size(), lines);
        if (lines == 1) return;
        QCOMPARE(parts[0], bytes(e.titleText) + '\r');
        QVERIFY2(parts[1].endsWith(" Ago \r"), parts[1]);
        QCOMPARE(parts[2], bytes(e.releaseText));
    }

    // The count follows the wall clock: a daylight-saving night moves it by the
    // hour the clock jumps, whatever time actually passes.
    void daylightSavingNight_data() {
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("day");
        QTest::addColumn<int>("toHour");
        QTest::addColumn<int>("hoursElapsed");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("spring forward") << 3 << 14 << 4 << 3 << QByteArray("04:00:00");
        QTest::newRow("fall back") << 11 << 7 << 3 << 4 << QByteArray("03:00:00");
    }
    void daylightSavingNight() {
        QFETCH(int, month);
        QFETCH(int, day);
        QFETCH(int, toHour);
        QFETCH(int, hoursElapsed);
        QFETCH(QByteArray, expected);
        const QByteArray saved = qgetenv("TZ");
        const bool hadTz = qEnvironmentVariableIsSet("TZ");
        const auto restore = qScopeGuard([&] {
            if (hadTz) qputenv("TZ", saved);
            else qunsetenv("TZ");
            tzset();
        });
        qputenv("TZ", "EST5EDT,M3.2.0,M11.1.0");
        tzset();

        // The zone is in force: the night is an hour shorter or longer than its clock readings.
        std::tm midnight{};
        midnight.tm_year = 2021 - 1900;
        midnight.tm_mon = month - 1;
        midnight.tm_mday = day;
        midnight.tm_isdst = -1;
        std::tm later = midnight;
        later.tm_hour = toHour;
        QCOMPARE(std::difftime(std::mktime(&later), std::mktime(&midnight)), hoursElapsed * 3600.0);

        QCOMPARE(bytes(CalcDiffCUSDates(dateSerial(2021, month, day), dateSerial(2021, month, day, toHour, 0, 0))),
                 expected);
    }

    void ageFunctionByName() {
        const double then = dateSerial(1970, 1, 1), now = dateSerial(2000, 6, 15, 8, 30, 0);
        for (const ConsoleEntry& e : catalogue()) {
            const QByteArray text = bytes(callAgeFunction(e.ageFunction, then, now));
            QVERIFY2(text.startsWith(bytes(e.titleText) + "\r\n"), e.ageFunction.data());
            QVERIFY2(text.endsWith("\r\n" + bytes(e.releaseText)), e.ageFunction.data());
        }
        for (const char* unknown : {"", "CalcDiffDates", "CalcDiffCUSDates", "calcdiffps2dates", "CalcDiffPS2Dates"})
            QVERIFY_THROWS_EXCEPTION(std::invalid_argument, callAgeFunction(unknown, then, now));
    }
};

QTEST_APPLESS_MAIN(AgeTest)
#include "test_age.moc"
