#pragma once
// The notes file's bytes and the pad's text, both ways. No widgets here.

#include <QByteArray>
#include <QString>

namespace agelark {

// A line longer than this would take the pad's layout seconds or minutes to wrap.
constexpr qsizetype longestLine = 10 * 1000;

// A size in bytes as the user reads it ("4.0 MB"), with `digits` after the point.
QString sizeText(qint64 bytes, int digits);

// The text of a notes file, line breaks as the file has them. A leading UTF-8
// byte-order mark is dropped. Well-formed UTF-8 reads as UTF-8, and each byte
// that is not part of a well-formed UTF-8 character reads as Windows-1252,
// which older 8-bit programs wrote: such a file reads as it was written, and
// a UTF-8 file with one stray byte loses none of its other characters.
QString decodeNotesFile(QByteArrayView bytes);

// The bytes a notes file holds for the pad's text: UTF-8 without a byte-order
// mark (unless the text itself begins with U+FEFF), each "\n" written as
// CR LF, nothing added at the end.
QByteArray encodeNotesFile(QStringView padText);

}  // namespace agelark
