// Draws the pictures the program shows beside itself: the title picture, one
// picture per console (its name and year on a background that keeps that
// console's label colour readable) and the window icon.
//   make_pictures OUTPUT_FOLDER

#include <QColor>
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>

#include "engine/catalogue.h"

namespace {

using agelark::ConsoleEntry;

constexpr int side = 272;  // a picture box, 4080 twips

QColor fromBgr(std::uint32_t bgr) { return QColor(int(bgr & 0xFF), int(bgr >> 8 & 0xFF), int(bgr >> 16 & 0xFF)); }

// A dark background under light label colours, a light one under dark colours.
QColor backgroundFor(std::uint32_t labelBgr) {
    return fromBgr(labelBgr).lightness() > 110 ? QColor(32, 36, 52) : QColor(226, 230, 236);
}

QString text(std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

// " The Atari 2600 was released " -> "Atari 2600"
QString consoleName(const ConsoleEntry& e) {
    QString title = text(e.titleText).trimmed();
    title.remove(0, 4);
    title.chop(int(QStringLiteral(" was released").size()));
    return title;
}

bool save(const QImage& image, const QString& path) {
    if (image.save(path, nullptr, 90)) return true;
    std::fprintf(stderr, "make_pictures: cannot write %s\n", qPrintable(path));
    return false;
}

// A picture `scale` times the picture box's side in pixels, drawn in the
// box's own units, for screens with `scale` device pixels to a pixel.
QImage canvas(int scale) {
    QImage image(side * scale, side * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    return image;
}

QImage consolePicture(const ConsoleEntry& e, int scale) {
    QImage image = canvas(scale);
    const QColor background = backgroundFor(e.labelForeColor);
    image.fill(background);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // A simple console silhouette in the label colour, toned down.
    QColor shape = fromBgr(e.labelForeColor);
    shape.setAlpha(70);
    p.setBrush(shape);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRect(46, 96, 180, 90), 18, 18);
    p.setPen(fromBgr(e.labelForeColor));
    QFont name;
    name.setPixelSize(28);
    name.setBold(true);
    p.setFont(name);
    p.drawText(QRect(0, 190, side, 36), Qt::AlignCenter, consoleName(e));
    QFont year;
    year.setPixelSize(18);
    p.setFont(year);
    p.drawText(QRect(0, 226, side, 26), Qt::AlignCenter, text(e.countFromText).right(4));
    return image;
}

QImage titlePicture(int scale) {
    QImage image = canvas(scale);
    QPainter p(&image);
    QLinearGradient sky(0, 0, 0, side);
    sky.setColorAt(0, QColor(250, 236, 200));
    sky.setColorAt(1, QColor(214, 160, 96));
    p.fillRect(QRect(0, 0, side, side), sky);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(120, 40, 20));
    QFont font;
    font.setPixelSize(40);
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRect(0, 100, side, 60), Qt::AlignCenter, QStringLiteral("Agelark"));
    font.setPixelSize(15);
    font.setBold(false);
    p.setFont(font);
    p.drawText(QRect(0, 160, side, 30), Qt::AlignCenter, QStringLiteral("How old is your console?"));
    return image;
}

// A small joypad on an amber disc.
QImage icon(int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    p.setBrush(QColor(232, 150, 40));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QRectF(1, 1, 30, 30));
    p.setBrush(QColor(40, 36, 48));
    p.drawRoundedRect(QRectF(6, 11, 20, 11), 4, 4);
    p.setBrush(QColor(250, 236, 200));
    p.drawRect(QRectF(9, 15.5, 6, 2));
    p.drawRect(QRectF(11, 13.5, 2, 6));
    p.drawEllipse(QRectF(19, 14, 2.5, 2.5));
    p.drawEllipse(QRectF(22, 17, 2.5, 2.5));
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_pictures OUTPUT_FOLDER [ICON_SIZE...]\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    bool ok = QDir().mkpath(out.path());
    // Each picture twice: at the picture box's size, and at twice that for
    // screens with two device pixels to a pixel ("ps2.jpg", "ps2@2x.jpg").
    for (int scale : {1, 2}) {
        const QString suffix = scale == 1 ? QString() : QStringLiteral("@%1x").arg(scale);
        const auto name = [&](const QString& file) {
            const qsizetype dot = file.lastIndexOf(u'.');
            return out.filePath(file.left(dot) + suffix + file.mid(dot));
        };
        ok = save(titlePicture(scale), name("Agelark.jpg")) && ok;
        for (const ConsoleEntry& e : agelark::catalogue())
            ok = save(consolePicture(e, scale), name(text(e.pictureFile).mid(1))) && ok;
    }
    ok = save(icon(32), out.filePath("agelark.png")) && ok;
    for (int i = 2; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        ok = save(icon(size), out.filePath(QStringLiteral("agelark-%1.png").arg(size))) && ok;
    }
    return ok ? 0 : 1;
}
