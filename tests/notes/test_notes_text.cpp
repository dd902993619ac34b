// The notes file's text between bytes, body markup and pad.

#include <QTest>

#include "notes_text.h"

using namespace agelark;

class NotesTextTest : public QObject {
    Q_OBJECT
private slots:
    void unescapeUndoesEscape_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("markup");
        QTest::newRow("plain") << QString("abc") << QString("abc");
        QTest::newRow("all three") << QString("a<b & c>d") << QString("a&lt;b &amp; c&gt;d");
        QTest::newRow("reference typed") << QString("&lt;&gt;&amp;") << QString("&amp;lt;&amp;gt;&amp;amp;");
        QTest::newRow("tags typed") << QString("<PRE></PRE>") << QString("&lt;PRE&gt;&lt;/PRE&gt;");
        QTest::newRow("ampersand at the end") << QString("x&") << QString("x&amp;");
        QTest::newRow("other reference") << QString("&#60;&quot;") << QString("&amp;#60;&amp;quot;");
    }
    void unescapeUndoesEscape() {
        QFETCH(QString, text);
        QFETCH(QString, markup);
        QCOMPARE(escapeMarkup(text), markup);
        QCOMPARE(unescapeMarkup(markup), text);
    }

    void unescapeLeavesOtherAmpersands() {
        QCOMPARE(unescapeMarkup("&quot; & &am &lt"), QString("&quot; & &am &lt"));
    }

    void windows1252CoversTheWholeCodePage() {
        QByteArray all;
        for (int b = 0; b < 256; ++b) all.append(char(b));
        const QString text = fromWindows1252(all);
        QCOMPARE(text.size(), 256);
        QCOMPARE(text.at(0x41), QChar(u'A'));
        QCOMPARE(text.at(0x80), QChar(u'€'));
        QCOMPARE(text.at(0x8A), QChar(u'Š'));
        QCOMPARE(text.at(0x92), QChar(u'’'));
        QCOMPARE(text.at(0x99), QChar(u'™'));
        QCOMPARE(text.at(0x9F), QChar(u'Ÿ'));
        QCOMPARE(text.at(0x81), QChar(0x81));  // unassigned: the control character
        QCOMPARE(text.at(0xE9), QChar(u'é'));
        QCOMPARE(text.at(0xFF), QChar(u'ÿ'));
    }

    void decodingChoosesUtf8OnlyForValidUtf8() {
        QCOMPARE(decodeNotesFile("\xC3\xA9"), QString::fromUtf8("é"));
        QCOMPARE(decodeNotesFile("\xE9t\xE9"), QString::fromUtf8("été"));
        QCOMPARE(decodeNotesFile("\xED\xA0\x80"), QString::fromUtf8("í\u00a0€"));  // an encoded surrogate is not UTF-8
        QCOMPARE(decodeNotesFile("\xEF\xBB\xBF\xEF\xBB\xBFx"), QChar(0xFEFF) + QString("x"));  // only one mark dropped
        QCOMPARE(decodeNotesFile(""), QString());
    }

    void fileBytesHaveCrLfAndNothingAdded() {
        QCOMPARE(encodeNotesFile("a\nb"), QByteArray("a\r\nb"));
        QCOMPARE(encodeNotesFile(""), QByteArray());
        QCOMPARE(encodeNotesFile(QString::fromUtf8("é\n")), QByteArray("\xC3\xA9\r\n"));
        QCOMPARE(padFormOf("a\r\nb\r\n"), QString("a\nb\n"));
    }
};

QTEST_APPLESS_MAIN(NotesTextTest)
#include "test_notes_text.moc"
