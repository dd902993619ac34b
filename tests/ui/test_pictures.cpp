// The pictures as the program loads them, at both sizes: text over them stays readable (a report over the top
// 115 of 272 pixels, the title picture's title and credit in dark red), a console stands out from its floor, and
// a screen of two device pixels to a pixel gets the pictures drawn at twice the size.

#include <QApplication>
#include <QFile>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>

#include "engine/catalogue.h"
#include "platform/pictures.h"
#include "tests/support/test_program.h"

using namespace agelark;
using namespace agelark::testing;

namespace {

constexpr int side = 272;

using Rows = std::pair<int, int>;  // the top and bottom rows under text, in the box's pixels, bottom excluded

// The console's drawing without its band, floor and shadows: opaque where the console and its parts stand.
QImage consoleAlone(const std::string& file, int scale) {
    QFile svg(QStringLiteral(AGELARK_DRAWINGS "/%1.svg").arg(QString::fromStdString(file).section('.', 0, 0).mid(1)));
    QString text = svg.open(QIODevice::ReadOnly) ? QString::fromUtf8(svg.readAll()) : QString();
    text.remove(QRegularExpression("<rect (y=\"115\" )?width=\"272\" height=\"(272|157)\" fill=\"[^\"]+\"/>|"
                                   "<ellipse [^>]+ fill=\"url\\(#shadow\\)\"/>"));
    QImage image(side * scale, side * scale, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QSvgRenderer(text.toUtf8()).render(&painter, image.rect());
    return image;
}

}  // namespace

class PicturesTest : public QObject {
    Q_OBJECT
private slots:
    void pictures_data() {
        QTest::addColumn<std::string>("file");
        QTest::addColumn<QColor>("textColour");
        QTest::addColumn<QList<Rows>>("underText");
        QTest::newRow("title picture") << std::string("\\Agelark.jpg") << QColor(0xC0, 0, 0)
                                       << QList<Rows>{{0, 42}, {230, side}};
        for (const ConsoleEntry& e : catalogue()) {
            const std::uint32_t bgr = e.labelColour;
            QTest::newRow(std::string(e.pictureFile.substr(1)).c_str())
                << std::string(e.pictureFile) << QColor(int(bgr & 0xFF), int(bgr >> 8 & 0xFF), int(bgr >> 16 & 0xFF))
                << QList<Rows>{{0, 115}};
        }
    }

    // Every pixel under the text has 3:1 contrast with it; at four in five of the steps out of the console, from
    // a pixel it covers wholly past its smoothed edge to the first it leaves clear, the two have 3:1.
    void pictures() {
        QFETCH(std::string, file);
        QFETCH(QColor, textColour);
        QFETCH(QList<Rows>, underText);
        for (int scale : {1, 2}) {
            const QImage image = loadPicture(file, scale).toImage();
            QCOMPARE(image.size(), QSize(side, side) * scale);
            for (const Rows& rows : underText)
                for (int y = rows.first * scale; y < rows.second * scale; ++y)
                    for (int x = 0; x < image.width(); ++x)
                        QVERIFY2(contrast(textColour, image.pixelColor(x, y)) >= 3,
                                 qPrintable(QStringLiteral("at %1x, (%2, %3)").arg(scale).arg(x).arg(y)));
            if (file == "\\Agelark.jpg") continue;  // no console

            const QImage console = consoleAlone(file, scale);
            const auto covered = [&](QPoint p) { return console.rect().contains(p) ? qAlpha(console.pixel(p)) : -1; };
            int steps = 0, plain = 0;
            for (int y = 118 * scale; y < console.height(); ++y)  // below the band, where the console stands
                for (int x = 0; x < console.width(); ++x)
                    for (const QPoint out : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
                        const QPoint p(x, y);
                        if (covered(p) < 255) break;
                        QPoint q = p + out;
                        while (covered(q) > 0 && covered(q) < 255 && q != p + out * 3) q += out;
                        if (covered(q) != 0) continue;
                        ++steps;
                        plain += contrast(image.pixelColor(p), image.pixelColor(q)) >= 3;
                    }
            QVERIFY2(steps > 200 * scale && plain * 5 >= steps * 4,
                     qPrintable(QStringLiteral("at %1x, %2 of %3 steps at 3:1").arg(scale).arg(plain).arg(steps)));
        }
    }

    // Where the dense picture is missing, the plain one; the window icon at the sizes such a screen draws it at.
    void densePictures() {
        program.start();
        program.tabs()->setCurrentIndex(3);
        const auto shows = [&](const QString& file) {
            const QImage shown = program.find<QLabel>("Form1", "Picture2")->pixmap().toImage();
            return shown == QImage(program.path(file)).convertToFormat(shown.format());
        };
        QVERIFY(shows("Agelark@2x.jpg"));
        program.click("Form1", "cmdPS2");
        QVERIFY(shows("ps2@2x.jpg"));
        QCOMPARE(program.find<QLabel>("Form1", "Picture2")->pixmap().deviceIndependentSize(), QSizeF(272, 272));
        QVERIFY(QFile::remove(program.path("ps2@2x.jpg")));
        program.click("Form1", "cmdPS3");
        program.click("Form1", "cmdPS2");
        QVERIFY(shows("ps2.jpg"));
        QVERIFY(program.messages.shown.isEmpty());
        QCOMPARE(program.window("Form1")->windowIcon().availableSizes(),
                 (QList<QSize>{{32, 32}, {48, 48}, {64, 64}, {128, 128}}));
    }

private:
    TestProgram program;  // the application folder the pictures load from
};

int main(int argc, char** argv) {
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    PicturesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_pictures.moc"
