#include "notes/notes_text.h"

#include <QLocale>
#include <QStringDecoder>
#include <array>

namespace agelark {

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

}  // namespace

QString sizeText(qint64 bytes, int digits) {
    return QLocale().formattedDataSize(bytes, digits, QLocale::DataSizeSIFormat);
}

QString decodeNotesFile(QByteArrayView bytes) {
    // The mark is dropped here, so a second one is part of the text.
    if (bytes.startsWith("\xEF\xBB\xBF")) bytes = bytes.sliced(3);
    // Told to keep a mark at the start as U+FEFF, where fromUtf8 would drop it.
    using enum QStringDecoder::Flag;
    QStringDecoder utf8(QStringDecoder::Utf8, Stateless | ConvertInitialBom);
    if (bytes.isValidUtf8()) return utf8.decode(bytes);
    QString text;
    qsizetype run = 0;  // where the well-formed UTF-8 being read starts
    for (qsizetype i = 0; i < bytes.size();) {
        if (const int length = sequenceLength(bytes, i)) {
            i += length;
            continue;
        }
        text += utf8.decode(bytes.sliced(run, i - run)) + windows1252(static_cast<unsigned char>(bytes[i]));
        run = ++i;
    }
    return text + utf8.decode(bytes.sliced(run));
}

QByteArray encodeNotesFile(QStringView padText) {
    // Text that itself begins with U+FEFF would read as a byte-order mark and be
    // dropped on loading; a mark in front keeps that first character.
    const QString text = padText.startsWith(QChar(0xFEFF)) ? u'\uFEFF' + padText.toString() : padText.toString();
    // No byte of a character but a line feed's is 0x0A in UTF-8.
    QStringEncoder utf8(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
    return QByteArray(utf8.encode(text)).replace("\n", "\r\n");
}

}  // namespace agelark
