// Dates as each kind of locale writes them: month, day or year first. What each reads and refuses, and the now-text
// each writes, read back to the second.

#include <QLocale>
#include <QTest>
#include <cmath>
#include <limits>

#include "platform/locale_dates.h"

using namespace agelark;

class LocaleDatesTest : public QObject {
    Q_OBJECT
    static constexpr double refused = std::numeric_limits<double>::quiet_NaN();

private slots:
    void cleanup() { QLocale::setDefault(QLocale::system()); }

    void dates_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::addColumn<bool>("nowText");  // the text dateTimeText writes for that moment
        const double feb1 = dateSerial(2015, 2, 1), feb1Late = dateSerial(2015, 2, 1, 22, 0, 0);
        const auto row = [](const char* locale, const char* text, double expected, bool nowText = false) {
            QTest::addRow("%s %s", locale, text) << QString(locale) << QString(text) << expected << nowText;
        };
        // At 00:04:09, 12:04:09 AM on the 12-hour clock; the C locale keeps the US date, its clock the 24 hours.
        const double now = dateSerial(2026, 1, 5, 0, 4, 9);
        row("en_US", "1/5/2026 12:04:09 AM", now, true);
        row("C", "1/5/2026 00:04:09", now, true);
        row("en_GB", "05/01/2026 00:04:09", now, true);
        row("de_DE", "05.01.2026 00:04:09", now, true);
        row("ja_JP", "2026/01/05 0:04:09", now, true);
        row("es_US", "5/1/2026 12:04:09 a. m.", now, true);
        row("fi_FI", "5.1.2026 0.04.09", now, true);
        row("fr_CA", "2026-01-05 00:04:09", now, true);  // "HH 'h' mm": a quoted letter

        row("en_GB", "13/01/2015", dateSerial(2015, 1, 13));
        row("en_GB", "1/2/2015 22:00", feb1Late);
        row("en_GB", "01/13/2015", refused);
        row("de_DE", "1.2.15 22:00", feb1Late);
        row("de_DE", "01/02/2015", feb1);
        row("de_DE", "01.02/2015", refused);
        row("fr_FR", "01/02/2015 10:00 PM", feb1Late);
        row("ja_JP", "2015/2/1 10:00:00 PM", feb1Late);
        row("ja_JP", "30/1/1", dateSerial(1930, 1, 1));
        row("ja_JP", "1/2/2015", refused);
        row("ja_JP", "2015-02-01", feb1);
    }
    void dates() {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(double, expected);
        QFETCH(bool, nowText);
        QLocale::setDefault(QLocale(locale));
        if (nowText) QCOMPARE(dateTimeText(civilFromSerial(expected)), text);
        if (std::isnan(expected))
            QVERIFY_THROWS_EXCEPTION(DateConversionError, dateTimeOfText(text));
        else
            QCOMPARE(dateTimeOfText(text), expected);
    }
};

QTEST_APPLESS_MAIN(LocaleDatesTest)
#include "test_locale_dates.moc"
