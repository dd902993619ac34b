#include "notes_text.h"

#include <QStringDecoder>
#include <array>

namespace agelark {

namespace {

constexpr QLatin1StringView lessThan("&lt;");
constexpr QLatin1StringView greaterThan("&gt;");
constexpr QLatin1StringView ampersand("&amp;");

// The reference that stands for `c` in markup, or none.
QLatin1StringView referenceFor(QChar c) {
    switch (c.unicode()) {
    case u'<': return lessThan;
    case u'>': return greaterThan;
    case u'&': return ampersand;
    default: return {};
    }
}

}  // namespace

// Both directions size their result first and write it in one pass: notes of
// several megabytes go through them at every start.

QString escapeMarkup(const QString& text) {
    qsizetype grows = 0;
    for (const QChar c : text) grows += qMax<qsizetype>(referenceFor(c).size() - 1, 0);
    if (grows == 0) return text;

    QString markup(text.size() + grows, Qt::Uninitialized);
    QChar* out = markup.data();
    for (const QChar c : text) {
        const QLatin1StringView reference = referenceFor(c);
        if (reference.isEmpty()) {
            *out++ = c;
            continue;
        }
        for (const char r : reference) *out++ = QLatin1Char(r);
    }
    return markup;
}

QString unescapeMarkup(const QString& markup) {
    if (!markup.contains(u'&')) return markup;

    QString text(markup.size(), Qt::Uninitialized);
    QChar* out = text.data();
    const QStringView view(markup);
    for (qsizetype i = 0; i < view.size();) {
        if (view[i] == u'&') {
            const QStringView rest = view.sliced(i);
            if (rest.startsWith(lessThan)) {
                *out++ = u'<';
                i += lessThan.size();
                continue;
            }
            if (rest.startsWith(greaterThan)) {
                *out++ = u'>';
                i += greaterThan.size();
                continue;
            }
            if (rest.startsWith(ampersand)) {
                *out++ = u'&';
                i += ampersand.size();
                continue;
            }
        }
        *out++ = view[i++];
    }
    text.truncate(out - text.constData());
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
    // Text that itself begins with U+FEFF would read as a byte-order mark and be
    // dropped on loading; a mark in front keeps that first character.
    if (fileText.startsWith(QChar(0xFEFF))) fileText.prepend(QChar(0xFEFF));
    return fileText.toUtf8();
}

QString bodyMarkupOf(const QByteArray& fileBytes) {
    return QStringLiteral("<PRE>") + escapeMarkup(decodeNotesFile(fileBytes)) + QStringLiteral("</PRE>");
}

QString padTextFromBodyMarkup(QString markup) {
    // The escaped text holds no '<', so both tags can only be the view's wrapper.
    markup.remove(QStringLiteral("<PRE>"), Qt::CaseSensitive);
    markup.remove(QStringLiteral("</PRE>"), Qt::CaseSensitive);
    return unescapeMarkup(markup);
}

}  // namespace agelark
