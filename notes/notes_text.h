#pragma once
// The notes file's text in its three forms: the bytes on disk, the page view's
// body markup, and the text the pad holds. No widgets here.

#include <QByteArray>
#include <QString>

namespace agelark {

// Writes `<`, `>` and `&` as the character references "&lt;", "&gt;" and
// "&amp;", as a browser shows a text file; every other character stays.
QString escapeMarkup(QStringView text);

// The exact inverse of escapeMarkup: "&lt;", "&gt;" and "&amp;" become
// characters again, read from left to right, so "&amp;lt;" gives "&lt;".
// Any other '&' stays as it is.
QString unescapeMarkup(const QString& markup);

// The text of a notes file, line breaks as the file has them. A leading UTF-8
// byte-order mark is dropped. Well-formed UTF-8 reads as UTF-8, and each byte
// that is not part of a well-formed UTF-8 character reads as Windows-1252,
// which older 8-bit programs wrote: such a file reads as it was written, and
// a UTF-8 file with one stray byte loses none of its other characters.
QString decodeNotesFile(const QByteArray& bytes);

// Decodes a notes file given a part at a time, exactly as decodeNotesFile
// decodes it whole: the texts of the parts put together are the text of the
// bytes put together, wherever the parts are cut.
class NotesFileDecoder {
public:
    // The text of `part` and of what earlier parts left unfinished; `last` for
    // the file's last part.
    QString decode(QByteArrayView part, bool last);

private:
    QByteArray held_;     // the start of a character, or of the mark, that the next part may finish
    bool atStart_ = true; // the byte-order mark is still to be looked for
};

// The bytes a notes file holds for the pad's text: UTF-8 without a byte-order
// mark (unless the text itself begins with U+FEFF), each "\n" written as
// CR LF, nothing added at the end.
QByteArray encodeNotesFile(const QString& padText);

// The page view's body markup for a notes file: its text, escaped, inside "<PRE>" and "</PRE>".
QString bodyMarkupOf(const QByteArray& fileBytes);
// The part of the body markup of a document with the text `text` that stands
// for its characters `from` to `from + count`: "<PRE>" in front when it is the
// start, "</PRE>" after it when it is the end. The parts of consecutive ranges
// put together make the whole body markup.
QString bodyMarkupOf(QStringView text, qsizetype from, qsizetype count);

// The pad's text from such a body markup, or from a part of it: the wrapper
// tags removed, the references undone; the exact inverse of bodyMarkupOf.
QString padTextFromBodyMarkup(QString markup);

}  // namespace agelark
