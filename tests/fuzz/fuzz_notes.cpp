// Any bytes in the notes file, through the decode every load uses: UTF-8
// reads as UTF-8, no byte is lost or made up, and the pad's text saved and
// loaded again gives the same text back.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <cstdlib>

#include "notes/notes_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray file(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString text = agelark::decodeNotesFile(file);
    // A byte-order mark aside, every byte is one character or part of one.
    const QByteArray body = file.startsWith("\xEF\xBB\xBF") ? file.sliced(3) : file;
    const QByteArray again = text.toUtf8();
    if (text.size() > body.size() || (body.isValidUtf8() ? again != body : again.size() <= body.size())) std::abort();

    // The pad holds every line break as "\n"; the file writes it as CR LF.
    QString padLines = text;
    padLines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QString reloaded = agelark::decodeNotesFile(agelark::encodeNotesFile(padLines));
    reloaded.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (reloaded != padLines) std::abort();
    return 0;
}
