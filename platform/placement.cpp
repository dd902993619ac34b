#include "platform/placement.h"

#include <QWidget>
#include <QWindow>

namespace agelark {

namespace {

QMargins frameOf(const QWidget* window) {
    const QWindow* handle = window->windowHandle();
    return handle ? handle->frameMargins() : QMargins();
}

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

}  // namespace agelark
