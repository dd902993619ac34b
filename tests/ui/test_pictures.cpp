// The pictures as the program loads them from beside itself, at both sizes:
// each shows a drawing, and the text drawn over it stays readable. A console's
// report covers the top 115 of the box's 272 pixels in its label colour; the
// title picture carries the title at the top and the credit line at the foot
// in dark red. On a screen with two device pixels to a pixel the windows show
// the pictures drawn at twice the size, not the plain ones enlarged.

#include <QApplication>
#include <QFile>
#include <QIcon>

#include "engine/catalogue.h"
#include "platform/pictures.h"
#include "tests/support/test_program.h"

using namespace agelark;
using namespace agelark::testing;

namespace {

constexpr int side = 272;

using Rows = std::pair<int, int>;  // the top and bottom rows under text, in the box's pixels, bottom excluded


QImage loaded(const std::string& file, int scale) { return loadPicture(file, scale).toImage(); }

}  // namespace

class PicturesTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { program_ = std::make_unique<TestProgram>(); }
    void cleanupTestCase() { program_.reset(); }

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

    // Something is drawn in the lower part, where the consoles stand (at least
    // a twentieth of it differs plainly from the floor at the left edge), and
    // every pixel under the text has a contrast of 3:1 or more with it.
    void pictures() {
        QFETCH(std::string, file);
        QFETCH(QColor, textColour);
        QFETCH(QList<Rows>, underText);
        for (int scale : {1, 2}) {
            const QImage image = loaded(file, scale);
            QCOMPARE(image.size(), QSize(side, side) * scale);
            int drawn = 0, looked = 0;
            for (int y = 120 * scale; y < 262 * scale; ++y)
                for (int x = 0; x < image.width(); ++x, ++looked) {
                    const QColor c = image.pixelColor(x, y), floor = image.pixelColor(0, y);
                    drawn += std::abs(c.red() - floor.red()) + std::abs(c.green() - floor.green()) +
                                 std::abs(c.blue() - floor.blue()) > 48;
                }
            QVERIFY2(drawn * 20 >= looked, qPrintable(QStringLiteral("blank at %1x").arg(scale)));

            for (const Rows& rows : underText)
                for (int y = rows.first * scale; y < rows.second * scale; ++y)
                    for (int x = 0; x < image.width(); ++x)
                        QVERIFY2(contrast(textColour, image.pixelColor(x, y)) >= 3,
                                 qPrintable(QStringLiteral("at %1x, (%2, %3)").arg(scale).arg(x).arg(y)));
        }
    }

    // Where the dense picture is missing, the plain one; the window icon at
    // the sizes such a screen draws it at (the 256-pixel one is the icon theme's).
    void densePictures() {
        TestProgram& program = *program_;
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
    std::unique_ptr<TestProgram> program_;  // the application folder the pictures load from
};

int main(int argc, char** argv) {
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    PicturesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_pictures.moc"
