// Renders the drawings in pictures/ into the files the program reads beside
// itself: each console's picture and the title picture as JPEG files at the
// picture box's size and at twice that for dense screens ("ps2.jpg",
// "ps2@2x.jpg"), and the window icon as PNG files.
//   make_pictures SOURCE_FOLDER OUTPUT_FOLDER [ICON_SIZE...]
//   make_pictures --sheet SOURCE_FOLDER SHEET.png
// The second form lays all the consoles' pictures out with their names
// beneath, a row per page of the program, for people to browse.

#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>
#include <stdexcept>

#include "engine/catalogue.h"

namespace {

using agelark::ConsoleEntry;

constexpr int side = 272;  // a picture box, 4080 twips

QString text(std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

// "\ps2.jpg" -> "ps2"
QString baseName(const ConsoleEntry& e) {
    const QString file = text(e.pictureFile).mid(1);
    return file.left(file.lastIndexOf(u'.'));
}

QString consoleName(const ConsoleEntry& e) { return text(e.name); }

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class Drawings {
public:
    explicit Drawings(const QString& folder) : folder_(folder) {}

    // `name`.svg rendered onto a square `size` pixels wide, over `under`.
    QImage render(const QString& name, int size, QImage::Format format, Qt::GlobalColor under,
                  const QString& whose) const {
        const QString path = folder_.filePath(name + ".svg");
        if (!QFileInfo::exists(path))
            throw Failure(qPrintable(QStringLiteral("there is no drawing of %1: %2 is missing").arg(whose, path)));
        QSvgRenderer svg(path);
        if (!svg.isValid())
            throw Failure(qPrintable(QStringLiteral("the drawing of %1 cannot be read: %2").arg(whose, path)));
        QImage image(size, size, format);
        image.fill(under);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        svg.render(&p, QRectF(0, 0, size, size));
        return image;
    }
    QImage console(const ConsoleEntry& e, int size) const {
        return render(baseName(e), size, QImage::Format_RGB32, Qt::white, "the " + consoleName(e));
    }

private:
    QDir folder_;
};

void save(const QImage& image, const QString& path) {
    if (!image.save(path, nullptr, 90)) throw Failure(qPrintable("cannot write " + path));
}

void renderAll(const Drawings& drawings, const QDir& out, const QStringList& iconSizes) {
    if (!QDir().mkpath(out.path())) throw Failure(qPrintable("cannot make the folder " + out.path()));
    for (int scale : {1, 2}) {
        const QString suffix = scale == 1 ? QString() : QStringLiteral("@%1x").arg(scale);
        save(drawings.render("Agelark", side * scale, QImage::Format_RGB32, Qt::white, "the title picture"),
             out.filePath("Agelark" + suffix + ".jpg"));
        for (const ConsoleEntry& e : agelark::catalogue())
            save(drawings.console(e, side * scale), out.filePath(baseName(e) + suffix + ".jpg"));
    }
    const auto icon = [&](int size) {
        return drawings.render("icon", size, QImage::Format_ARGB32, Qt::transparent, "the window icon");
    };
    save(icon(32), out.filePath("agelark.png"));
    for (const QString& size : iconSizes) save(icon(size.toInt()), out.filePath("agelark-" + size + ".png"));
}

// A row of pictures per console page, each picture with the console's name beneath.
void contactSheet(const Drawings& drawings, const QString& path) {
    constexpr int cell = 180, caption = 30, gap = 12, columns = 8;
    using agelark::Page;
    const Page pages[] = {Page::Atari, Page::Nintendo, Page::Sega, Page::Sony, Page::Microsoft, Page::Handheld};
    QImage sheet(gap + columns * (cell + gap), gap + int(std::size(pages)) * (cell + caption + gap),
                 QImage::Format_RGB32);
    sheet.fill(QColor(0xF6, 0xF6, 0xF6));
    QPainter p(&sheet);
    p.setRenderHint(QPainter::Antialiasing);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(15);
    p.setFont(font);
    p.setPen(QColor(0x20, 0x20, 0x20));
    int y = gap;
    for (const Page page : pages) {
        int x = gap;
        for (const ConsoleEntry* e : agelark::consolesOn(page)) {
            p.drawImage(x, y, drawings.console(*e, cell));
            p.drawText(QRect(x, y + cell, cell, caption), Qt::AlignCenter, consoleName(*e));
            x += cell + gap;
        }
        y += cell + caption + gap;
    }
    p.end();
    if (!sheet.save(path)) throw Failure(qPrintable("cannot write " + path));
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool sheet = !args.isEmpty() && args.front() == "--sheet";
    if (sheet) args.pop_front();
    if (args.size() < 2 || (sheet && args.size() != 2)) {
        std::fprintf(stderr,
                     "usage: make_pictures SOURCE_FOLDER OUTPUT_FOLDER [ICON_SIZE...]\n"
                     "       make_pictures --sheet SOURCE_FOLDER SHEET.png\n");
        return 2;
    }
    try {
        const Drawings drawings(args[0]);
        if (sheet)
            contactSheet(drawings, args[1]);
        else
            renderAll(drawings, QDir(args[1]), args.mid(2));
        return 0;
    } catch (const Failure& failure) {
        std::fprintf(stderr, "make_pictures: %s\n", failure.what());
        return 1;
    }
}
