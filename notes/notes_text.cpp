#include "notes/notes_text.h"

#include <QStringDecoder>
#include <array>
#include <utility>

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

QString escapeMarkup(QStringView text) {
    qsizetype grows = 0;
    for (const QChar c : text) grows += qMax<qsizetype>(referenceFor(c).size() - 1, 0);
    if (grows == 0) return text.toString();

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

namespace {

// 0x80 to 0x9F of Windows-1252; the rest of the code page is Latin-1.
constexpr std::array<char16_t, 32> windows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// The five bytes the code page leaves unassigned become the control characters of the same value.
QChar windows1252(unsigned char b) { return QChar(b >= 0x80 && b <= 0x9F ? windows1252High[b - 0x80] : char16_t(b)); }

bool continuation(QByteArrayView bytes, qsizetype at) {
    return at < bytes.size() && (static_cast<unsigned char>(bytes[at]) & 0xC0) == 0x80;
}

// The length of the well-formed UTF-8 sequence that starts at `at` (as the
// Unicode standard's table of well-formed byte sequences has it: no overlong
// forms, no surrogates, nothing past U+10FFFF), or 0 when none starts there.
int sequenceLength(QByteArrayView bytes, qsizetype at) {
    const auto b = static_cast<unsigned char>(bytes[at]);
    if (b < 0x80) return 1;
    if (b < 0xC2) return 0;
    const auto second = at + 1 < bytes.size() ? static_cast<unsigned char>(bytes[at + 1]) : 0;
    if (b < 0xE0) return continuation(bytes, at + 1) ? 2 : 0;
    if (b < 0xF0) {
        const unsigned char low = b == 0xE0 ? 0xA0 : 0x80, high = b == 0xED ? 0x9F : 0xBF;
        return second >= low && second <= high && continuation(bytes, at + 2) ? 3 : 0;
    }
    if (b < 0xF5) {
        const unsigned char low = b == 0xF0 ? 0x90 : 0x80, high = b == 0xF4 ? 0x8F : 0xBF;
        return second >= low && second <= high && continuation(bytes, at + 2) && continuation(bytes, at + 3) ? 4 : 0;
    }
    return 0;
}

// Every well-formed UTF-8 sequence as its character, every other byte as Windows-1252.
QString decodeMixed(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);  // never more characters than bytes
    QChar* out = text.data();
    for (qsizetype i = 0; i < bytes.size();) {
        const int length = sequenceLength(bytes, i);
        if (length == 0) {
            *out++ = windows1252(static_cast<unsigned char>(bytes[i++]));
            continue;
        }
        const auto lead = static_cast<unsigned char>(bytes[i]);
        char32_t c = length == 1 ? lead : lead & (0x7F >> length);
        for (int k = 1; k < length; ++k) c = (c << 6) | (static_cast<unsigned char>(bytes[i + k]) & 0x3F);
        i += length;
        if (QChar::requiresSurrogates(c)) {
            *out++ = QChar(QChar::highSurrogate(c));
            *out++ = QChar(QChar::lowSurrogate(c));
        } else {
            *out++ = QChar(char16_t(c));
        }
    }
    text.truncate(out - text.constData());
    return text;
}

// Where the last bytes hold the start of a UTF-8 sequence that runs past the
// end; the size when they do not. Everything before that point decodes the
// same whatever follows it.
qsizetype unfinishedSequence(QByteArrayView bytes) {
    for (qsizetype i = bytes.size() - 1; i >= qMax<qsizetype>(0, bytes.size() - 3); --i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if ((b & 0xC0) == 0x80) continue;
        const int length = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
        return i + length > bytes.size() ? i : bytes.size();
    }
    return bytes.size();
}

const QByteArray byteOrderMark("\xEF\xBB\xBF");

}  // namespace

QString NotesFileDecoder::decode(QByteArrayView part, bool last) {
    QByteArray joined;
    QByteArrayView bytes = part;
    if (!held_.isEmpty()) {
        joined = std::exchange(held_, QByteArray());
        joined.append(part);
        bytes = joined;
    }
    if (atStart_) {
        if (!last && bytes.size() < byteOrderMark.size() && QByteArrayView(byteOrderMark).startsWith(bytes)) {
            held_ = bytes.toByteArray();
            return {};
        }
        atStart_ = false;
        // The mark is dropped here, so a second one is part of the text.
        if (bytes.startsWith(byteOrderMark)) bytes = bytes.sliced(byteOrderMark.size());
    }
    if (!last) {
        const qsizetype cut = unfinishedSequence(bytes);
        held_ = bytes.sliced(cut).toByteArray();
        bytes = bytes.first(cut);
    }
    if (bytes.isValidUtf8()) {
        // Told to keep a mark at the start as U+FEFF, where fromUtf8 would drop it.
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
        return utf8.decode(bytes);
    }
    // A file written partly by an 8-bit program, or UTF-8 with a stray byte:
    // each character that is UTF-8 stays one, and only the bytes that are not
    // read as Windows-1252. A file of Windows-1252 alone reads as it always did.
    return decodeMixed(bytes);
}

QString decodeNotesFile(const QByteArray& bytes) { return NotesFileDecoder().decode(bytes, true); }

QByteArray encodeNotesFile(const QString& padText) {
    // One pass straight into UTF-8: the runs between line breaks go through
    // the encoder, each break becomes CR LF.
    QStringEncoder utf8(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
    QByteArray bytes(utf8.requiredSpace(padText.size() + 1) + padText.count(u'\n') + 3, Qt::Uninitialized);
    char* out = bytes.data();
    // Text that itself begins with U+FEFF would read as a byte-order mark and be
    // dropped on loading; a mark in front keeps that first character.
    if (padText.startsWith(QChar(0xFEFF))) out = utf8.appendToBuffer(out, u"\uFEFF");
    QStringView rest(padText);
    for (qsizetype lineEnd; (lineEnd = rest.indexOf(u'\n')) >= 0; rest = rest.sliced(lineEnd + 1)) {
        out = utf8.appendToBuffer(out, rest.first(lineEnd));
        *out++ = '\r';
        *out++ = '\n';
    }
    out = utf8.appendToBuffer(out, rest);
    bytes.truncate(out - bytes.constData());
    return bytes;
}

QString bodyMarkupOf(QStringView text, qsizetype from, qsizetype count) {
    QString markup = escapeMarkup(text.sliced(from, count));
    if (from == 0) markup.prepend(QStringLiteral("<PRE>"));
    if (from + count == text.size()) markup.append(QStringLiteral("</PRE>"));
    return markup;
}

QString bodyMarkupOf(const QByteArray& fileBytes) {
    const QString text = decodeNotesFile(fileBytes);
    return bodyMarkupOf(text, 0, text.size());
}

QString padTextFromBodyMarkup(QString markup) {
    // The escaped text holds no '<', so both tags can only be the view's wrapper.
    markup.remove(QStringLiteral("<PRE>"), Qt::CaseSensitive);
    markup.remove(QStringLiteral("</PRE>"), Qt::CaseSensitive);
    return unescapeMarkup(markup);
}

}  // namespace agelark
