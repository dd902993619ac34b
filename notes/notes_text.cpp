#include "notes_text.h"

#include <QStringDecoder>
#include <array>

namespace agelark {

namespace {

const QString lessThan = QStringLiteral("&lt;");
const QString greaterThan = QStringLiteral("&gt;");
const QString ampersand = QStringLiteral("&amp;");

}  // namespace

QString escapeMarkup(const QString& text) {
    QString markup;
    markup.reserve(text.size() + text.size() / 16);
    const QStringView view(text);
    qsizetype plainFrom = 0;  // start of the run of characters that stay as they are
    for (qsizetype i = 0; i < view.size(); ++i) {
        const QString* reference = nullptr;
        switch (view[i].unicode()) {
        case u'<': reference = &lessThan; break;
        case u'>': reference = &greaterThan; break;
        case u'&': reference = &ampersand; break;
        default: continue;
        }
        markup += view.mid(plainFrom, i - plainFrom);
        markup += *reference;
        plainFrom = i + 1;
    }
    markup += view.mid(plainFrom);
    return markup;
}

QString unescapeMarkup(const QString& markup) {
    QString text;
    text.reserve(markup.size());
    const QStringView view(markup);
    qsizetype i = 0;
    while (i < view.size()) {
        const qsizetype amp = view.indexOf(u'&', i);
        if (amp < 0) {
            text += view.mid(i);
            break;
        }
        text += view.mid(i, amp - i);
        const QStringView rest = view.mid(amp);
        if (rest.startsWith(lessThan)) {
            text += u'<';
            i = amp + lessThan.size();
        } else if (rest.startsWith(greaterThan)) {
            text += u'>';
            i = amp + greaterThan.size();
        } else if (rest.startsWith(ampersand)) {
            text += u'&';
            i = amp + ampersand.size();
        } else {
            text += u'&';
            i = amp + 1;
        }
    }
    return text;
}

QString fromWindows1252(const QByteArray& bytes) {
    // 0x80 to 0x9F; the rest of the code page is Latin-1.
    static constexpr std::array<char16_t, 32> high = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
        0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
    };
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        *out++ = QChar(b >= 0x80 && b <= 0x9F ? high[b - 0x80] : char16_t(b));
    }
    return text;
}

QString decodeNotesFile(const QByteArray& bytes) {
    static const QByteArray byteOrderMark("\xEF\xBB\xBF");
    const bool marked = bytes.startsWith(byteOrderMark);
    // Stateless: a sequence cut off at the end is an error, not state kept for
    // more input. The mark is dropped here, so a second one is part of the text.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = utf8.decode(marked ? QByteArrayView(bytes).sliced(byteOrderMark.size()) : QByteArrayView(bytes));
    // A file that says it is UTF-8 stays UTF-8, a stray bad byte shown as a replacement character.
    if (marked || !utf8.hasError()) return text;
    return fromWindows1252(bytes);
}

QByteArray encodeNotesFile(const QString& padText) {
    QString fileText = padText;
    fileText.replace(u'\n', QStringLiteral("\r\n"));
    return fileText.toUtf8();
}

QString padFormOf(const QString& fileText) {
    QString text = fileText;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

}  // namespace agelark
