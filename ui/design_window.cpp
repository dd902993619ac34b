#include "ui/design_window.h"

#include <QAccessibleWidget>

#include "platform/accessible.h"
#include "platform/errors.h"
#include "ui/design_kit.h"

namespace agelark {

DesignWindow::DesignWindow(const QString& name, const QString& caption, QSize size, bool minimisable) {
    readAs(this, [](QWidget* window) -> QAccessibleInterface* {
        return new QAccessibleWidget(window, QAccessible::Window);
    });
    setObjectName(name);
    setWindowTitle(caption);
    setAttribute(Qt::WA_DeleteOnClose);
    fixWindowFrame(this, size, minimisable);
}

void DesignWindow::load(const std::function<void()>& steps) {
    try {
        steps();
    } catch (...) {
        loadFailure_ = std::current_exception();
    }
}

void DesignWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!loadFailure_) return;
    // From the event loop: the message appears over the window it concerns, shown.
    QMetaObject::invokeMethod(
        this, [this, failure = std::exchange(loadFailure_, nullptr)] { runHandler(this, [&] { std::rethrow_exception(failure); }); },
        Qt::QueuedConnection);
}

}  // namespace agelark
