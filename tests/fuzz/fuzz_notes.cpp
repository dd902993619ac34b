// Any bytes in the notes file, through the decode every load uses and the encode every save uses.

#include <cstdint>
#include <cstdlib>

#include "notes/notes_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView file(data, qsizetype(size)), body = file.startsWith("\xEF\xBB\xBF") ? file.sliced(3) : file;
    const QString text = agelark::decodeNotesFile(file), pad = QString(text).replace("\r\n", "\n");
    // UTF-8 reads as UTF-8; no byte is lost, each that is not UTF-8 a character that UTF-8 writes longer.
    if (body.isValidUtf8() ? body != text.toUtf8() : text.toUtf8().size() <= body.size()) std::abort();
    // The pad holds each line break as "\n": saved (as CR LF) and loaded again, its text comes back.
    if (agelark::decodeNotesFile(agelark::encodeNotesFile(pad)).replace("\r\n", "\n") != pad) std::abort();
    return 0;
}
