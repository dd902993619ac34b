// The console catalogue: its rows, the odd ones among them, its groups and its look-ups.

#include <QTest>

#include <QRegularExpression>
#include <set>
#include <string>

#include "catalogue.h"
#include "date_text.h"

using namespace agelark;

namespace {

QByteArray bytes(std::string_view s) { return QByteArray(s.data(), qsizetype(s.size())); }

const ConsoleEntry& byKey(std::string_view key) {
    for (const ConsoleEntry& e : catalogue())
        if (e.key == key) return e;
    qFatal("no entry %s", std::string(key).c_str());
}

// The date a release text names, " Released in the US on 10/21/1985 " giving 10/21/1985.
std::string_view releaseDate(const ConsoleEntry& e) {
    std::string_view t = e.releaseText;
    t.remove_prefix(t.rfind(' ', t.size() - 2) + 1);
    t.remove_suffix(1);
    return t;
}

}  // namespace

class CatalogueTest : public QObject {
    Q_OBJECT
private slots:
    void rowsComeInTabOrder() {
        const auto rows = catalogue();
        QCOMPARE(rows.size(), std::size_t(37));
        std::string tabs;
        std::string_view last = "?";
        for (const ConsoleEntry& e : rows) {
            if (e.tab != last) tabs += std::string(windowName(e.window)) + ":" + std::string(e.tab) + " ";
            last = e.tab;
        }
        QCOMPARE(QByteArray::fromStdString(tabs),
                 QByteArray("Form1:Atari Form1:Nintendo Form1:Sega Form1:Sony Form1:Microsoft Form2: "));
        QCOMPARE(bytes(rows[0].button), QByteArray("cmdCommand2600"));
        QCOMPARE(bytes(rows[20].button), QByteArray("cmdPS2"));
        QCOMPARE(bytes(rows[36].button), QByteArray("cmd3DS"));
    }

    void namesAreUniqueAndWellFormed() {
        std::set<std::string_view> keys, functions;
        std::set<std::pair<WindowId, std::string_view>> buttons, timers;
        for (const ConsoleEntry& e : catalogue()) {
            const QByteArray row = bytes(e.ageFunction);
            QVERIFY2(keys.insert(e.key).second, row);
            QVERIFY2(functions.insert(e.ageFunction).second, row);
            QVERIFY2(buttons.insert({e.window, e.button}).second, row);
            QVERIFY2(timers.insert({e.window, e.timer}).second, row);
            QCOMPARE(row, "CalcDiff" + bytes(e.key) + "Dates");
            QVERIFY2(e.titleText.starts_with(" The ") && e.titleText.ends_with(" was released "), row);
            QVERIFY2(e.releaseText.starts_with(" Released in the US on ") && e.releaseText.ends_with(' '), row);
            QVERIFY2(e.pictureFile.starts_with('\\') && e.pictureFile.ends_with(".jpg"), row);
            QVERIFY2(QRegularExpression("^\\d\\d/\\d\\d/\\d\\d\\d\\d$").match(bytes(e.countFromText)).hasMatch(), row);
            QVERIFY2(QRegularExpression("^[1-9]\\d?/[1-9]\\d?/\\d\\d\\d\\d$").match(bytes(releaseDate(e))).hasMatch(),
                     row);
        }
    }

    // The count-from date and the date of the release line agree but for two consoles.
    void countFromAgreesWithReleaseLine() {
        for (const ConsoleEntry& e : catalogue()) {
            const bool agree = parseDateText(e.countFromText) == parseDateText(releaseDate(e));
            QVERIFY2(agree == (e.key != "Nes" && e.key != "Nomad"), e.ageFunction.data());
        }
        QCOMPARE(parseDateText(byKey("Nes").countFromText), dateSerial(1985, 10, 23));
        QCOMPARE(bytes(releaseDate(byKey("Nes"))), QByteArray("10/21/1985"));
        QCOMPARE(parseDateText(byKey("Nomad").countFromText), dateSerial(1995, 10, 1));
        QCOMPARE(bytes(releaseDate(byKey("Nomad"))), QByteArray("11/1/1995"));
    }

    void oddRows_data() {
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QByteArray>("button");
        QTest::addColumn<QByteArray>("caption");
        QTest::addColumn<QByteArray>("timer");
        QTest::addColumn<QByteArray>("pictureFile");
        QTest::addColumn<QByteArray>("titleText");
        QTest::newRow("2600") << QByteArray("2") << QByteArray("cmdCommand2600") << QByteArray("2600")
                              << QByteArray("Timer1") << QByteArray("\\atari2600.jpg")
                              << QByteArray(" The Atari 2600 was released ");
        QTest::newRow("Jaguar") << QByteArray("Jag") << QByteArray("cmdCommandJag") << QByteArray("JAGUAR")
                                << QByteArray("Timer4") << QByteArray("\\Jag.jpg")
                                << QByteArray(" The Atari Jaguar was released ");
        QTest::newRow("Wii U") << QByteArray("wiiu") << QByteArray("cmdWiiu") << QByteArray("Wii U")
                               << QByteArray("Timer18") << QByteArray("\\wiiu.jpg")
                               << QByteArray(" The WiiU was released ");
        QTest::newRow("PS1") << QByteArray("ps1") << QByteArray("cmdPS1") << QByteArray("PS1") << QByteArray("Timer5")
                             << QByteArray("\\ps1.jpg") << QByteArray(" The PlayStation was released ");
        QTest::newRow("PS5") << QByteArray("ps5") << QByteArray("cmdPS5") << QByteArray("PS5")
                             << QByteArray("Timerps5") << QByteArray("\\ps5.jpg")
                             << QByteArray(" The PS5 was released ");
        QTest::newRow("GB Micro") << QByteArray("GBM") << QByteArray("cmdGBM") << QByteArray("GB Mirco")
                                  << QByteArray("Timer4") << QByteArray("\\GBM.jpg")
                                  << QByteArray(" The GB Micro was released ");
        QTest::newRow("DS") << QByteArray("DS") << QByteArray("cmdNDS") << QByteArray("Nintendo DS")
                            << QByteArray("Timer5") << QByteArray("\\DS.jpg") << QByteArray(" The DS was released ");
    }
    void oddRows() {
        QFETCH(QByteArray, key);
        const ConsoleEntry& e = byKey(key.toStdString());
        QTEST(bytes(e.button), "button");
        QTEST(bytes(e.caption), "caption");
        QTEST(bytes(e.timer), "timer");
        QTEST(bytes(e.pictureFile), "pictureFile");
        QTEST(bytes(e.titleText), "titleText");
    }

    void labelStyles() {
        const std::set<std::string_view> black{"LYNX", "ps1", "ps3", "PSP", "PSPGO", "VITA",
                                               "GB",   "GBC", "GBA", "GBM", "DS",    "3DS"};
        const std::set<std::string_view> red{"VBOY", "segaMS"};
        const std::set<std::uint32_t> palette{0xFFFFFF, 0x000000, 0x0000FF, 0x3E8FF4, 0xC691B6, 0x17DD89};
        for (const ConsoleEntry& e : catalogue()) {
            const char* row = e.ageFunction.data();
            QVERIFY2(palette.count(e.labelForeColor), row);
            QVERIFY2((e.labelForeColor == 0x000000) == bool(black.count(e.key)), row);
            QVERIFY2((e.labelForeColor == 0x0000FF) == bool(red.count(e.key)), row);
            QCOMPARE(e.labelFontSize, e.key == "segaMS" ? 13.5 : 14.0);
        }
        QCOMPARE(byKey("sNes").labelForeColor, 0xC691B6u);
        QCOMPARE(byKey("Nomad").labelForeColor, 0x3E8FF4u);
        QCOMPARE(byKey("360").labelForeColor, 0x17DD89u);
    }

    void groups_data() {
        QTest::addColumn<int>("firstRow");
        QTest::addColumn<int>("size");
        QTest::addColumn<QByteArray>("controls");
        QTest::newRow("Atari") << 0 << 6 << QByteArray("txtAtari NowText lblLabel1 Picture1 1");
        QTest::newRow("Nintendo") << 6 << 8 << QByteArray("txtNes txtNesNow lblLabel4 Picture4 0");
        QTest::newRow("Sega") << 14 << 5 << QByteArray("txtSega txtSegaNow lblLabel3 Picture3 2");
        QTest::newRow("Sony") << 19 << 8 << QByteArray("txtPs txtPsNow lblLabel2 Picture2 3");
        QTest::newRow("Microsoft") << 27 << 4 << QByteArray("txtXbox txtXboxNow lblLabel5 Picture5 4");
        QTest::newRow("handheld") << 31 << 6 << QByteArray("txtThen txtNow lblAgelark Picture1 0");
    }
    void groups() {
        QFETCH(int, firstRow);
        QFETCH(int, size);
        QFETCH(QByteArray, controls);
        const auto rows = catalogue();
        for (int i = firstRow; i < firstRow + size; ++i) {
            const ConsoleEntry& e = rows[std::size_t(i)];
            const std::vector<const ConsoleEntry*> group = groupOf(e);
            QCOMPARE(int(group.size()), size);
            for (int j = 0; j < size; ++j) QCOMPARE(group[std::size_t(j)], &rows[std::size_t(firstRow + j)]);
            QCOMPARE(bytes(e.thenBox) + ' ' + bytes(e.nowBox) + ' ' + bytes(e.resultLabel) + ' ' +
                         bytes(e.pictureBox) + ' ' + QByteArray::number(e.bylineIndex),
                     controls);
        }
    }

    void lookUps() {
        QCOMPARE(bytes(entryForButton(WindowId::Form1, "cmdPS2")->timer), QByteArray("Timer6"));
        QCOMPARE(entryForButton(WindowId::Form2, "cmdPS2"), nullptr);
        QCOMPARE(entryForButton(WindowId::Form1, "cmdGBM"), nullptr);
        QCOMPARE(entryForButton(WindowId::Form1, "cmdps2"), nullptr);
        // Timer1 to Timer6 exist on both windows and belong to different consoles.
        QCOMPARE(bytes(entryForTimer(WindowId::Form1, "Timer1")->key), QByteArray("2"));
        QCOMPARE(bytes(entryForTimer(WindowId::Form2, "Timer1")->key), QByteArray("GB"));
        QCOMPARE(bytes(entryForTimer(WindowId::Form1, "Timer6")->key), QByteArray("ps2"));
        QCOMPARE(bytes(entryForTimer(WindowId::Form2, "Timer6")->key), QByteArray("3DS"));
        QCOMPARE(entryForTimer(WindowId::Form2, "Timer7"), nullptr);
        QCOMPARE(entryForTimer(WindowId::Form1, "Timer22"), nullptr);  // the clock's
        QCOMPARE(entryForAgeFunction("CalcDiffPS2Dates"), nullptr);
        QCOMPARE(entryForAgeFunction("CalcDiffCUSDates"), nullptr);
        for (const ConsoleEntry& e : catalogue()) {
            QCOMPARE(entryForButton(e.window, e.button), &e);
            QCOMPARE(entryForTimer(e.window, e.timer), &e);
            QCOMPARE(entryForAgeFunction(e.ageFunction), &e);
        }
        QCOMPARE(bytes(windowName(WindowId::Form1)), QByteArray("Form1"));
        QCOMPARE(bytes(windowName(WindowId::Form2)), QByteArray("Form2"));
    }
};

QTEST_APPLESS_MAIN(CatalogueTest)
#include "test_catalogue.moc"
