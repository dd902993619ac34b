#include <QApplication>

#include "app.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Agelark");
    agelark::startProgram();
    return app.exec();
}
