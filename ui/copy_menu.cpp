#include "ui/copy_menu.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QWidget>

namespace agelark {

QString withPlatformLineBreaks(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
#ifdef Q_OS_WIN
    text.replace(QLatin1String("\n"), QLatin1String("\r\n"));
#endif
    return text;
}

void giveCopyMenu(QWidget* result, std::function<QString()> text) {
    // The result's actions make up its context menu.
    auto copy = new QAction(QStringLiteral("Copy"), result);
    QObject::connect(copy, &QAction::triggered, result,
                     [text = std::move(text)] { QGuiApplication::clipboard()->setText(withPlatformLineBreaks(text())); });
    result->addAction(copy);
    result->setContextMenuPolicy(Qt::ActionsContextMenu);
}

}  // namespace agelark
