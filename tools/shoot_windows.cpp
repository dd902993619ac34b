// Renders every page of the main window, the handheld window and the
// confirmation window into PNG files, to look at the layouts as a user sees
// them. Run under Xvfb (or any display) for the real fonts and style:
//   shoot_windows OUTPUT_FOLDER
// It uses the pictures of the build and a fixed clock, so shots repeat.

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QTabBar>
#include <cstdio>

#include "tests/support/test_program.h"
#include "ui/handheld_window.h"
#include "ui/tab_control.h"

using namespace agelark;

namespace {

bool save(QWidget* window, const QString& path) {
    QCoreApplication::processEvents();
    if (window->grab().save(path)) return true;
    std::fprintf(stderr, "shoot_windows: cannot write %s\n", qPrintable(path));
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: shoot_windows OUTPUT_FOLDER\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(out.path());

    testing::TestProgram program;
    program.clock.set({2026, 12, 5, 15, 7, 9});
    program.start();
    program.tick();
    QWidget* form1 = program.main();
    auto tabs = program.find<TabControl>("Form1", "SSTTab1");
    bool ok = true;
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        ok = save(form1, out.filePath(QStringLiteral("form1-%1-%2.png").arg(i).arg(tabs->tabBar()->tabText(i)))) && ok;
    }

    // A running counter on a console page and on the Custom page.
    tabs->setCurrentIndex(3);
    program.click("Form1", "cmdPS2");
    program.tick();
    ok = save(form1, out.filePath("form1-3-Sony-counting.png")) && ok;
    tabs->setCurrentIndex(5);
    program.find<QLineEdit>("Form1", "txtCusThen")->setText("01/01/1980 22:00:00");
    program.click("Form1", "cmdCustom");
    program.tick();
    ok = save(form1, out.filePath("form1-5-Custom-counting.png")) && ok;
    tabs->setCurrentIndex(0);

    QWidget* form2 = showHandheldWindow();
    ok = save(form2, out.filePath("form2.png")) && ok;
    program.click("Form2", "cmdNDS");
    program.tick("Form2");
    ok = save(form2, out.filePath("form2-counting.png")) && ok;
    QWidget* saved = showSavedWindow();
    ok = save(saved, out.filePath("saved.png")) && ok;
    return ok ? 0 : 1;
}
