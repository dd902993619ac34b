#include "platform/windows.h"

#include <QAccessibleWidget>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QTimer>
#include <QWindow>
#include <exception>

#include "platform/accessible.h"
#include "platform/errors.h"
#include "platform/timers.h"

namespace agelark {

FormWindow::FormWindow(const QString& name) {
    readAs(this, [](QWidget* window) -> QAccessibleInterface* {
        return new QAccessibleWidget(window, QAccessible::Window);
    });
    setObjectName(name);
    setAttribute(Qt::WA_DeleteOnClose, false);  // the registry decides when a window goes
}

void FormWindow::closeEvent(QCloseEvent* event) {
    // The registry hides and destroys the window itself.
    event->ignore();
    windows().unload(objectName(), UnloadReason::User);
}

namespace {
QMargins frameOf(const QWidget* window) {
    const QWindow* handle = window->windowHandle();
    return handle ? handle->frameMargins() : QMargins();
}
}  // namespace

namespace {
// Until the window manager has framed a window just shown, Qt knows no frame
// around it and would place its inside where its frame should go. Windows
// framed alike have frames of one width, so a window whose frame is not known
// yet is placed by the anchor's frame. The inside is placed, not the frame:
// the window manager then puts the frame around it where it belongs.
void placeFrameAt(QWidget* window, const QWidget* anchor, QPoint frameTopLeft) {
    QMargins frame = frameOf(window);
    if (frame.isNull()) frame = frameOf(anchor);
    window->setGeometry(QRect(frameTopLeft + QPoint(frame.left(), frame.top()), window->size()));
}
}  // namespace

void placeOnCornerOf(QWidget* window, const QWidget* anchor) {
    placeFrameAt(window, anchor, anchor->frameGeometry().topLeft());
}

void centreOver(QWidget* window, const QWidget* anchor) {
    QMargins frame = frameOf(window);
    if (frame.isNull()) frame = frameOf(anchor);
    const QSize outer = window->size().grownBy(frame);
    const QRect over = anchor->frameGeometry();
    placeFrameAt(window, anchor, over.center() - QPoint(outer.width() / 2, outer.height() / 2) + QPoint(1, 1));
}

Windows& windows() {
    static Windows registry;
    return registry;
}

void Windows::define(const QString& name, Definition definition) { definitions_.insert(name, std::move(definition)); }

const Windows::Definition* Windows::definition(const QString& name) const {
    const auto found = definitions_.constFind(name);
    return found == definitions_.constEnd() ? nullptr : &*found;
}

FormWindow* Windows::loadedWindow(const QString& name) const {
    for (const auto& w : loaded_)
        if (w && w->objectName() == name) return w;
    return nullptr;
}

QList<FormWindow*> Windows::loaded() const {
    QList<FormWindow*> result;
    for (const auto& w : loaded_)
        if (w) result.append(w);
    return result;
}

FormWindow* Windows::get(const QString& name) {
    return load(name, [](FormWindow*) {});
}

FormWindow* Windows::show(const QString& name) {
    return load(name, [](FormWindow* window) {
        // A minimised window comes back too: the user asked to see it.
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
        window->show();
        window->raise();
        window->activateWindow();
    });
}

FormWindow* Windows::load(const QString& name, const std::function<void(FormWindow*)>& then) {
    if (FormWindow* w = loadedWindow(name)) {
        then(w);
        return w;
    }
    const auto definition = definitions_.constFind(name);
    if (definition == definitions_.constEnd())
        throw UserError(QStringLiteral("The program has no window named %1.").arg(name));
    FormWindow* window = definition->create();
    loaded_.append(window);
    std::exception_ptr failure;
    if (definition->load) {
        try {
            definition->load(window);
        } catch (...) {
            failure = std::current_exception();
        }
    }
    // A window being shown is shown before its load failure is told, so the
    // message appears over the window it concerns.
    then(window);
    if (failure) runHandler(window, [&] { std::rethrow_exception(failure); });
    return window;
}

void Windows::hide(const QString& name) {
    if (FormWindow* w = loadedWindow(name)) w->hide();
}

void Windows::unload(const QString& name, UnloadReason reason) {
    FormWindow* window = loadedWindow(name);
    if (!window) return;
    const auto definition = definitions_.constFind(name);
    if (definition != definitions_.constEnd() && definition->queryUnload)
        runHandler(window, [&] { definition->queryUnload(window, reason); });

    // The window's counters stop now, not when the event loop gets round to deleting it.
    for (QTimer* timer : window->findChildren<QTimer*>()) {
        if (auto own = qobject_cast<Timer*>(timer))
            own->setEnabled(false);  // also off the beat of a minimised window
        else
            timer->stop();
    }
    window->hide();
    loaded_.removeAll(window);
    window->deleteLater();

    loaded_.removeAll(nullptr);
    if (loaded_.isEmpty()) endWhenNoneLeft();
}

void Windows::endWhenNoneLeft() {
    // Checked once control is back in the event loop: code that unloads the
    // last window to load it afresh (a rebuild) must not end the program.
    if (endCheckPending_) return;
    endCheckPending_ = true;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [this] {
            endCheckPending_ = false;
            if (!loaded().isEmpty()) return;
            if (onLastUnloaded)
                onLastUnloaded();
            else
                QCoreApplication::quit();
        },
        Qt::QueuedConnection);
}

}  // namespace agelark
