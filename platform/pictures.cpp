#include "platform/pictures.h"

#include <QFileInfo>
#include <QImageReader>
#include <QLabel>

#include "platform/errors.h"
#include "platform/platform.h"

namespace agelark {

QPixmap loadPicture(std::string_view name) {
    const QString path = appFilePath(name);
    const QFileInfo file(path);
    if (!file.exists())
        throw UserError(QStringLiteral("The picture \"%1\" is missing. It was looked for in %2.")
                            .arg(file.fileName(), file.absolutePath()));
    QImageReader reader(path);
    const QImage image = reader.read();
    if (image.isNull())
        throw UserError(QStringLiteral("The picture \"%1\" in %2 cannot be read: %3.")
                            .arg(file.fileName(), file.absolutePath(), reader.errorString()));
    return QPixmap::fromImage(image);
}

void setPicture(QLabel* pictureBox, std::string_view name) { pictureBox->setPixmap(loadPicture(name)); }

}  // namespace agelark
