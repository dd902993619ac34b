#pragma once
// The notes file's text in its three forms: the bytes on disk, the page view's
// body markup, and the text the pad holds. No widgets here.

#include <QByteArray>
#include <QString>

namespace agelark {

// Writes `<`, `>` and `&` as the character references "&lt;", "&gt;" and
// "&amp;", as a browser shows a text file; every other character stays.
QString escapeMarkup(const QString& text);

// The exact inverse of escapeMarkup: "&lt;", "&gt;" and "&amp;" become
// characters again, read from left to right, so "&amp;lt;" gives "&lt;".
// Any other '&' stays as it is.
QString unescapeMarkup(const QString& markup);

// The text of a notes file: UTF-8 when the bytes are valid UTF-8 or begin with
// the UTF-8 byte-order mark (which is dropped), otherwise Windows-1252, which
// older 8-bit programs wrote. Line breaks stay as the file has them.
QString decodeNotesFile(const QByteArray& bytes);

// Windows-1252 bytes as text; the five bytes the code page leaves unassigned
// become the control characters of the same value.
QString fromWindows1252(const QByteArray& bytes);

// The bytes a notes file holds for the pad's text: UTF-8 without a byte-order
// mark (unless the text itself begins with U+FEFF), each "\n" written as
// CR LF, nothing added at the end.
QByteArray encodeNotesFile(const QString& padText);

// The page view's body markup for a notes file: its text, escaped, inside "<PRE>" and "</PRE>".
QString bodyMarkupOf(const QByteArray& fileBytes);

// The pad's text from such a body markup: the wrapper tags removed, the
// references undone; the exact inverse of bodyMarkupOf's escaping.
QString padTextFromBodyMarkup(QString markup);

}  // namespace agelark
