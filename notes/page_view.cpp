#include "page_view.h"

#include <QFile>
#include <QTimer>

#include "errors.h"
#include "notes_text.h"

namespace agelark {

PageView::PageView(QWidget* parent) : QWidget(parent) {}

void PageView::navigate(const QString& path) {
    const quint64 id = ++navigation_;
    QTimer::singleShot(0, this, [this, id, path] {
        if (id == navigation_) load(path);
    });
}

void PageView::stop() { ++navigation_; }

void PageView::load(const QString& path) {
    QFile file(path);
    if (!file.exists()) return;
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly)) bytes = file.readAll();
    // Half a file would reach the pad and, saved, replace the whole one: none is better.
    if (!file.isOpen() || file.error() != QFileDevice::NoError) {
        runHandler(window(), [&] {
            throw UserError(QStringLiteral("Could not read the notes from %1: %2").arg(path, file.errorString()));
        });
        return;
    }
    bodyMarkup_ = bodyMarkupOf(bytes);
    emit documentComplete(this, path);
}

}  // namespace agelark
