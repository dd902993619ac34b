#pragma once
// Replacing the content of an existing file so that a failure at any point
// leaves the old content whole.

#include <QByteArray>
#include <QString>

namespace agelark {

// Writes `content` beside the file at `path` and renames it over the file,
// which keeps the file's permissions. The file must already exist, be a
// regular file and be writable: a missing file is never created and a
// read-only one is never replaced. Returns why it failed, for the user, or
// an empty text when the file now holds `content`.
[[nodiscard]] QString replaceExistingFile(const QString& path, const QByteArray& content);

}  // namespace agelark
