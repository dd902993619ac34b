// On a screen with two device pixels to a pixel (QT_SCALE_FACTOR=2) the
// windows show the pictures drawn at twice the size, not the plain ones
// enlarged; where a dense picture is missing the plain one still shows. The
// window icon comes at the sizes such a screen draws it at.

#include <QApplication>
#include <QFile>
#include <QIcon>

#include "engine/catalogue.h"
#include "platform/controls.h"
#include "tests/support/test_program.h"

using namespace agelark;
using namespace agelark::testing;

namespace {

QImage imageIn(const TestProgram& program, const QString& file) { return QImage(program.path(file)); }

}  // namespace

class HighResolutionTest : public QObject {
    Q_OBJECT
private slots:
    void densePicturesOnADenseScreen() {
        StartedProgram program;
        FormWindow* form1 = program.window("Form1");
        QCOMPARE(form1->devicePixelRatioF(), 2.0);
        const QPixmap title = program.find<QLabel>("Form1", "Picture2")->pixmap();
        QCOMPARE(title.devicePixelRatio(), 2.0);
        QCOMPARE(title.toImage(), imageIn(program, "Agelark@2x.jpg").convertToFormat(title.toImage().format()));

        program.tabs()->setCurrentIndex(3);
        program.click("Form1", "cmdPS2");
        const QPixmap ps2 = program.find<QLabel>("Form1", "Picture2")->pixmap();
        QCOMPARE(ps2.devicePixelRatio(), 2.0);
        QCOMPARE(ps2.deviceIndependentSize(), QSizeF(272, 272));  // the box's size, as on a plain screen
        QCOMPARE(ps2.toImage(), imageIn(program, "ps2@2x.jpg").convertToFormat(ps2.toImage().format()));
        QVERIFY(program.messages.shown.isEmpty());

        // Every picture of the catalogue is drawn at twice its plain size.
        for (const ConsoleEntry& e : catalogue()) {
            const QString plain = qtext(e.pictureFile).mid(1);
            const QString dense = QString(plain).replace(".jpg", "@2x.jpg");
            QCOMPARE(imageIn(program, dense).size(), imageIn(program, plain).size() * 2);
        }
    }

    void plainPictureWhereTheDenseOneIsMissing() {
        StartedProgram program;
        QVERIFY(QFile::remove(program.path("ps2@2x.jpg")));
        program.tabs()->setCurrentIndex(3);
        program.click("Form1", "cmdPS2");
        const QPixmap ps2 = program.find<QLabel>("Form1", "Picture2")->pixmap();
        QCOMPARE(ps2.devicePixelRatio(), 1.0);
        QCOMPARE(ps2.toImage(), imageIn(program, "ps2.jpg").convertToFormat(ps2.toImage().format()));
        QVERIFY(program.messages.shown.isEmpty());
    }

    // Up to 64 pixels at the screen's density: 128 here, where two device
    // pixels make a pixel; the 256-pixel one is for the icon theme alone.
    void iconUpToTheScreensDensity() {
        StartedProgram program;
        const QList<QSize> sizes = program.window("Form1")->windowIcon().availableSizes();
        QCOMPARE(sizes, (QList<QSize>{{32, 32}, {48, 48}, {64, 64}, {128, 128}}));
        QCOMPARE(imageIn(program, "agelark-256.png").size(), QSize(256, 256));
        QCOMPARE(imageIn(program, "agelark-48.png").size(), QSize(48, 48));
        QCOMPARE(imageIn(program, "agelark-64.png").size(), QSize(64, 64));
    }
};

int main(int argc, char** argv) {
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    HighResolutionTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_high_resolution.moc"
