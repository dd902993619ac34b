#include <QApplication>

#include "platform/threads_at_exit.h"
#include "platform/window_system.h"
#include "ui/program.h"
#include "ui/version.h"

int main(int argc, char** argv) {
    agelark::letThreadsEndBeforeLeakCheck();
    const auto app = agelark::openWindowSystem(argc, argv);
    QApplication::setApplicationName("Agelark");
    QApplication::setApplicationVersion(AGELARK_VERSION);
    QApplication::setOrganizationDomain("agelark.github.io");
    // Ties the windows to the menu entry and its icon (the Wayland app id).
    QGuiApplication::setDesktopFileName(AGELARK_APP_ID);
    agelark::startProgram();
    return app->exec();
}
