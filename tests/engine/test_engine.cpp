// The age engine: the catalogue of consoles, date serials and the date-box
// texts that turn into them and back, the age text and the console report, and
// the two ways an age computation fails.

#include <QTest>

#include <QScopeGuard>
#include <array>
#include <chrono>
#include <cmath>
#include <ctime>
#include <limits>
#include <set>
#include <string>

#include "engine/age.h"
#include "engine/catalogue.h"
#include "engine/date_text.h"

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

// The date a release text names, " Released in the US on 10/21/1985 " giving 10/21/1985.
std::string_view releaseDate(const ConsoleEntry& e) {
    std::string_view t = e.releaseText;
    t.remove_prefix(t.rfind(' ', t.size() - 2) + 1);
    t.remove_suffix(1);
    return t;
}

// The controls a group's consoles share.
QByteArray groupControls(const ConsoleEntry& e) {
    return bytes(e.thenBox) + ' ' + bytes(e.nowBox) + ' ' + bytes(e.resultLabel) + ' ' + bytes(e.pictureBox) + ' ' +
           QByteArray::number(e.bylineIndex);
}

}  // namespace

class EngineTest : public QObject {
    Q_OBJECT
private slots:
    void namesAreUniqueAndWellFormed() {
        QCOMPARE(catalogue().size(), std::size_t(37));
        std::set<std::string_view> keys, functions;
        std::set<std::pair<WindowId, std::string_view>> buttons, timers;
        for (const ConsoleEntry& e : catalogue()) {
            const QByteArray row = bytes(e.ageFunction);
            QVERIFY2(keys.insert(e.key).second && functions.insert(e.ageFunction).second, row);
            QVERIFY2(buttons.insert({e.window, e.button}).second && timers.insert({e.window, e.timer}).second, row);
            QCOMPARE(row, "CalcDiff" + bytes(e.key) + "Dates");
            QVERIFY2(e.titleText.starts_with(" The ") && e.titleText.ends_with(" was released "), row);
            QVERIFY2(e.releaseText.starts_with(" Released in the US on ") && e.releaseText.ends_with(' '), row);
            QVERIFY2(e.pictureFile.starts_with('\\') && e.pictureFile.ends_with(".jpg"), row);
            QCOMPARE(e.labelFontSize, e.key == "segaMS" ? 13.5 : 14.0);
        }
    }

    // The rows that break the pattern: the count-from date and the date of the
    // release line agree but for two consoles; the 2600's key is "2"; the GB
    // Micro's button says "GB Mirco".
    void oddRows() {
        for (const ConsoleEntry& e : catalogue()) {
            const bool agree = parseDateText(e.countFromText) == parseDateText(releaseDate(e));
            QVERIFY2(agree == (e.key != "Nes" && e.key != "Nomad"), e.ageFunction.data());
        }
        QCOMPARE(parseDateText(entry("CalcDiffNesDates").countFromText), dateSerial(1985, 10, 23));
        QCOMPARE(bytes(releaseDate(entry("CalcDiffNesDates"))), QByteArray("10/21/1985"));
        QCOMPARE(parseDateText(entry("CalcDiffNomadDates").countFromText), dateSerial(1995, 10, 1));
        QCOMPARE(bytes(releaseDate(entry("CalcDiffNomadDates"))), QByteArray("11/1/1995"));
        const ConsoleEntry& atari = entry("CalcDiff2Dates");
        QCOMPARE(bytes(atari.button) + ' ' + bytes(atari.timer) + ' ' + bytes(atari.pictureFile),
                 QByteArray("cmdCommand2600 Timer1 \\atari2600.jpg"));
        QCOMPARE(bytes(entry("CalcDiffGBMDates").caption), QByteArray("GB Mirco"));
        QCOMPARE(bytes(entry("CalcDiffGBMDates").titleText), QByteArray(" The GB Micro was released "));
    }

    // Each group is a run of rows in tab order sharing one set of controls.
    void groups() {
        const auto rows = catalogue();
        QList<QByteArray> shared;
        for (std::size_t first = 0; first < rows.size();) {
            const std::vector<const ConsoleEntry*> group = groupOf(rows[first]);
            for (std::size_t j = 0; j < group.size(); ++j) {
                QCOMPARE(group[j], &rows[first + j]);
                QCOMPARE(groupOf(rows[first + j]), group);
                QCOMPARE(groupControls(rows[first + j]), groupControls(rows[first]));
            }
            shared << bytes(windowName(rows[first].window)) + ":" + bytes(rows[first].tab) + ":" +
                          QByteArray::number(qsizetype(group.size())) + " " + groupControls(rows[first]);
            first += group.size();
        }
        QCOMPARE(shared, QList<QByteArray>({"Form1:Atari:6 txtAtari NowText lblLabel1 Picture1 1",
                                             "Form1:Nintendo:8 txtNes txtNesNow lblLabel4 Picture4 0",
                                             "Form1:Sega:5 txtSega txtSegaNow lblLabel3 Picture3 2",
                                             "Form1:Sony:8 txtPs txtPsNow lblLabel2 Picture2 3",
                                             "Form1:Microsoft:4 txtXbox txtXboxNow lblLabel5 Picture5 4",
                                             "Form2::6 txtThen txtNow lblAgelark Picture1 0"}));
    }

    void lookUps() {
        for (const ConsoleEntry& e : catalogue()) {
            QCOMPARE(entryForButton(e.window, e.button), &e);
            QCOMPARE(entryForTimer(e.window, e.timer), &e);
            QCOMPARE(entryForAgeFunction(e.ageFunction), &e);
        }
        // Timer1 to Timer6 exist on both windows and belong to different consoles.
        QCOMPARE(bytes(entryForTimer(WindowId::Form1, "Timer1")->key), QByteArray("2"));
        QCOMPARE(bytes(entryForTimer(WindowId::Form2, "Timer1")->key), QByteArray("GB"));
        QCOMPARE(entryForButton(WindowId::Form2, "cmdPS2"), nullptr);
        QCOMPARE(entryForButton(WindowId::Form1, "cmdps2"), nullptr);
        QCOMPARE(entryForTimer(WindowId::Form2, "Timer7"), nullptr);
        QCOMPARE(entryForTimer(WindowId::Form1, "Timer22"), nullptr);  // the clock's
        for (const char* unknown : {"", "CalcDiffDates", "CalcDiffCUSDates", "calcdiffps2dates", "CalcDiffPS2Dates"})
            QVERIFY_THROWS_EXCEPTION(std::invalid_argument, callAgeFunction(unknown, 0.0, 1.0));
    }

    void serials_data() {
        QTest::addColumn<double>("serial");
        QTest::addColumn<double>("expected");
        QTest::newRow("day zero") << dateSerial(1899, 12, 30) << 0.0;
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

    void parse_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<double>("expected");
        const double tenPm = dateSerial(2015, 1, 1, 22, 0, 0);
        QTest::newRow("month first") << QByteArray("09/11/1977") << dateSerial(1977, 9, 11);
        QTest::newRow("hours and minutes") << QByteArray("3/4/2000 7:05") << dateSerial(2000, 3, 4, 7, 5, 0);
        QTest::newRow("pm, no blank") << QByteArray("1/1/2015 10:00pm") << tenPm;
        QTest::newRow("12 AM") << QByteArray("1/1/2015 12:30:00 AM") << dateSerial(2015, 1, 1, 0, 30, 0);
        QTest::newRow("12 PM") << QByteArray("1/1/2015 12:30:00 PM") << dateSerial(2015, 1, 1, 12, 30, 0);
        QTest::newRow("year 00") << QByteArray("1/1/00") << dateSerial(2000, 1, 1);
        QTest::newRow("year 29") << QByteArray("12/31/29") << dateSerial(2029, 12, 31);
        QTest::newRow("year 30") << QByteArray("1/1/30") << dateSerial(1930, 1, 1);
        QTest::newRow("year 99") << QByteArray("1/1/99") << dateSerial(1999, 1, 1);
        QTest::newRow("time alone") << QByteArray("22:00:00") << 22.0 / 24;
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
    // The now-box text reads back to the very second it was written for.
    void formatRoundTrip() {
        for (const auto& [moment, text] : std::initializer_list<std::pair<CivilDateTime, const char*>>{
                 {{2026, 12, 5, 0, 0, 0}, "12/5/2026 12:00:00 AM"},
                 {{2000, 3, 4, 12, 0, 0}, "3/4/2000 12:00:00 PM"},
                 {{2045, 9, 29, 15, 14, 8}, "9/29/2045 3:14:08 PM"},
                 {{2024, 2, 29, 23, 59, 59}, "2/29/2024 11:59:59 PM"},
                 {{1900, 1, 1, 6, 7, 8}, "1/1/1900 6:07:08 AM"},
                 {{1899, 12, 30, 13, 0, 0}, "12/30/1899 1:00:00 PM"},
                 {{100, 1, 1, 0, 5, 9}, "1/1/0100 12:05:09 AM"},
                 {{9999, 12, 31, 23, 59, 59}, "12/31/9999 11:59:59 PM"}}) {
            const std::string written = formatDateText(moment);
            QCOMPARE(QByteArray::fromStdString(written), QByteArray(text));
            QCOMPARE(parseDateText(written), dateSerial(moment));
            QCOMPARE(civilFromSerial(parseDateText(written)), moment);
        }
    }

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

    void overflowAndNotANumber() {
        const double nov12 = dateSerial(2020, 11, 12), max = std::numeric_limits<double>::max();
        for (auto [then, now] : {std::pair{nov12, dateSerial(2020, 11, 12 + 24855, 3, 14, 8)},  // 2,147,483,648 s
                                 {dateSerial(2020, 11, 12 + 24855, 3, 14, 9), nov12},          // -2,147,483,649 s
                                 {parseDateText("22:00:00"), nov12},  // a time alone against today
                                 {0.0, 1e7}, {-max, max}}) {
            QVERIFY_THROWS_EXCEPTION(AgeOverflow, CalcDiffCUSDates(then, now));
            QVERIFY_THROWS_EXCEPTION(AgeOverflow, reportText(entry("CalcDiffps5Dates"), then, now));
        }
        const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
        for (auto [then, now] : {std::pair{nan, 44000.0}, {44000.0, nan}, {44000.0, inf}, {-inf, 44000.0}, {inf, inf}}) {
            QVERIFY_THROWS_EXCEPTION(AgeArithmeticError, CalcDiffCUSDates(then, now));
            QVERIFY_THROWS_EXCEPTION(AgeArithmeticError, callAgeFunction("CalcDiff2Dates", then, now));
        }
    }

    // Each console stops counting 2,147,483,648 s after midnight of its count-from
    // date; its last report before then has three lines parted by CR LF.
    void firstFailingMoment_data() {
        QTest::addColumn<QByteArray>("ageFunction");
        for (const ConsoleEntry& e : catalogue()) QTest::newRow(e.ageFunction.data()) << bytes(e.ageFunction);
    }
    void firstFailingMoment() {
        QFETCH(QByteArray, ageFunction);
        const ConsoleEntry& e = entry(ageFunction.toStdString());
        const double then = parseDateText(e.countFromText);
        QCOMPARE(bytes(callAgeFunction(e.ageFunction, then, afterCountFrom(e, 24855, 3, 14, 7))),
                 bytes(e.titleText) + "\r\n24855 Days, 03:14:07 Ago \r\n" + bytes(e.releaseText));
        QVERIFY_THROWS_EXCEPTION(AgeOverflow, callAgeFunction(e.ageFunction, then, afterCountFrom(e, 24855, 3, 14, 8)));
    }

    // The count follows the wall clock: a daylight-saving night moves it by the
    // hour the clock jumps, whatever time actually passes.
    void daylightSavingNight() {
        const QByteArray savedTz = qgetenv("TZ");
        const auto restore = qScopeGuard([&] {
            savedTz.isNull() ? qunsetenv("TZ") : qputenv("TZ", savedTz);
            tzset();
        });
        qputenv("TZ", "EST5EDT,M3.2.0,M11.1.0");
        tzset();
        // Spring forward: 4:00 is three hours after midnight; fall back: 3:00 is four.
        // (A POSIX zone string: in force without any zone database.)
        for (auto [month, day, toHour] : {std::array{3, 14, 4}, {11, 7, 3}}) {
            QCOMPARE(bytes(CalcDiffCUSDates(dateSerial(2021, month, day), dateSerial(2021, month, day, toHour, 0, 0))),
                     QByteArray::number(toHour).rightJustified(2, '0') + ":00:00");
        }
    }
};

QTEST_APPLESS_MAIN(EngineTest)
#include "test_engine.moc"
