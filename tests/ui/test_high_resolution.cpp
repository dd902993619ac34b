// On a screen with two device pixels to a pixel (QT_SCALE_FACTOR=2) the
// windows show the pictures drawn at twice the size, not the plain ones
// enlarged, where they are there; the window icon comes at the sizes such a
// screen draws it at.

#include <QApplication>
#include <QFile>
#include <QIcon>

#include "tests/support/test_program.h"

using namespace agelark;
using namespace agelark::testing;

class HighResolutionTest : public QObject {
    Q_OBJECT
private slots:
    void densePictures_data() {
        QTest::addColumn<bool>("denseThere");
        QTest::newRow("drawn for the screen") << true;
        QTest::newRow("plain where the dense one is missing") << false;
    }
    void densePictures() {
        QFETCH(bool, denseThere);
        StartedProgram program;
        if (!denseThere) QVERIFY(QFile::remove(program.path("ps2@2x.jpg")));
        program.tabs()->setCurrentIndex(3);
        const QPixmap title = program.find<QLabel>("Form1", "Picture2")->pixmap();
        QCOMPARE(title.toImage(), QImage(program.path("Agelark@2x.jpg")).convertToFormat(title.toImage().format()));
        program.click("Form1", "cmdPS2");
        const QPixmap ps2 = program.find<QLabel>("Form1", "Picture2")->pixmap();
        const QString file = denseThere ? "ps2@2x.jpg" : "ps2.jpg";
        QCOMPARE(ps2.toImage(), QImage(program.path(file)).convertToFormat(ps2.toImage().format()));
        QCOMPARE(ps2.deviceIndependentSize(), denseThere ? QSizeF(272, 272) : QSizeF(ps2.size()));
        QVERIFY(program.messages.shown.isEmpty());
    }

    // Up to 64 pixels at the screen's density: 128 here; the 256-pixel one is for the icon theme alone.
    void iconUpToTheScreensDensity() {
        StartedProgram program;
        QCOMPARE(program.window("Form1")->windowIcon().availableSizes(),
                 (QList<QSize>{{32, 32}, {48, 48}, {64, 64}, {128, 128}}));
    }
};

int main(int argc, char** argv) {
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    HighResolutionTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_high_resolution.moc"
