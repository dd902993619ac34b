#include "ui/copy_menu.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>

#include "platform/windows.h"

namespace agelark {

namespace {

constexpr const char* resultLabels[] = {"lblLabel1", "lblLabel2", "lblLabel3", "lblLabel4",
                                        "lblLabel5", "lblAgelark", "lblCustom"};

}  // namespace

QString withPlatformLineBreaks(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
#ifdef Q_OS_WIN
    text.replace(QLatin1String("\n"), QLatin1String("\r\n"));
#endif
    return text;
}

void copyLabelText(const QLabel* label) { QGuiApplication::clipboard()->setText(withPlatformLineBreaks(label->text())); }

void installCopyMenus(FormWindow* window) {
    for (const char* name : resultLabels) {
        auto label = window->findChild<QLabel*>(QLatin1String(name));
        if (!label) continue;
        // The label's actions make up its context menu.
        auto copy = new QAction(QStringLiteral("Copy"), label);
        copy->setObjectName(QStringLiteral("actCopy"));
        QObject::connect(copy, &QAction::triggered, label, [label] { copyLabelText(label); });
        label->addAction(copy);
        label->setContextMenuPolicy(Qt::ActionsContextMenu);
    }
}

}  // namespace agelark
