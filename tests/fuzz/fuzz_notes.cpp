// Any bytes in the notes file: the page view's markup brings exactly the
// file's text to the pad, and saving that text and loading it again gives the
// same text back.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <cstdlib>

#include "notes/notes_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray file(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString text = agelark::decodeNotesFile(file);
    const QString pad = agelark::padTextFromBodyMarkup(agelark::bodyMarkupOf(file));
    if (pad != text) std::abort();

    // The pad holds line breaks as "\n"; the file writes them as CR LF.
    QString padLines = pad;
    padLines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QString reloaded = agelark::padTextFromBodyMarkup(agelark::bodyMarkupOf(agelark::encodeNotesFile(padLines)));
    reloaded.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (reloaded != padLines) std::abort();
    return 0;
}
