#include "platform/pictures.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>

#include "platform/errors.h"
#include "platform/platform.h"

namespace agelark {

namespace {

// The pictures are drawn at one size more, twice the plain one.
constexpr int denseRatio = 2;

// "…/ps2.jpg" -> "…/ps2@2x.jpg"
QString densePath(const QFileInfo& file) {
    const QString suffix = file.suffix().isEmpty() ? QString() : QLatin1Char('.') + file.suffix();
    return file.dir().filePath(file.completeBaseName() + QStringLiteral("@%1x").arg(denseRatio) + suffix);
}

}  // namespace

QPixmap loadPicture(std::string_view name, qreal devicePixelRatio) {
    const QString path = appFilePath(name);
    const QFileInfo file(path);
    if (!file.exists())
        throw UserError(QStringLiteral("The picture \"%1\" is missing. It was looked for in %2.")
                            .arg(file.fileName(), file.absolutePath()));
    // On a dense screen the picture drawn for it, when there is one and it
    // reads; else the plain one, which Qt enlarges. Qt fits the dense one to
    // ratios between (1.5) and beyond (3).
    if (devicePixelRatio > 1) {
        QImage dense = QImageReader(densePath(file)).read();
        if (!dense.isNull()) {
            QPixmap picture = QPixmap::fromImage(std::move(dense));
            picture.setDevicePixelRatio(denseRatio);
            return picture;
        }
    }
    QImageReader reader(path);
    QImage image = reader.read();
    if (image.isNull())
        throw UserError(QStringLiteral("The picture \"%1\" in %2 cannot be read: %3.")
                            .arg(file.fileName(), file.absolutePath(), reader.errorString()));
    // Moved: the pixmap takes the decoded pixels over instead of copying them.
    return QPixmap::fromImage(std::move(image));
}

void setPicture(QLabel* pictureBox, std::string_view name) {
    pictureBox->setPixmap(loadPicture(name, pictureBox->devicePixelRatioF()));
}

}  // namespace agelark
