#include "page_view.h"

#include <QTimer>

namespace agelark {

PageView::PageView(QWidget* parent) : QWidget(parent) {}

void PageView::navigate(const QString& path) {
    const quint64 id = ++navigation_;
    QTimer::singleShot(0, this, [this, id, path] {
        if (id != navigation_) return;
        bodyMarkup_.clear();  // reading the file is not built yet
        emit documentComplete(this, path);
    });
}

void PageView::stop() { ++navigation_; }

}  // namespace agelark
