#include "ui/copy_menu.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>

namespace agelark {

QString withPlatformLineBreaks(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
#ifdef Q_OS_WIN
    text.replace(QLatin1String("\n"), QLatin1String("\r\n"));
#endif
    return text;
}

void copyLabelText(const QLabel* label) { QGuiApplication::clipboard()->setText(withPlatformLineBreaks(label->text())); }

void giveCopyMenu(QLabel* label) {
    // The label's actions make up its context menu.
    auto copy = new QAction(QStringLiteral("Copy"), label);
    QObject::connect(copy, &QAction::triggered, label, [label] { copyLabelText(label); });
    label->addAction(copy);
    label->setContextMenuPolicy(Qt::ActionsContextMenu);
}

}  // namespace agelark
