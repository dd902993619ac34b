#include "notes/page_view.h"

#include <QTimer>

#include "notes/file_read.h"
#include "notes/notes_text.h"

namespace agelark {

PageView::PageView(QWidget* parent) : QWidget(parent) {}

void PageView::navigate(const QString& path) {
    const quint64 id = ++navigation_;
    QTimer::singleShot(0, this, [this, id, path] {
        if (id == navigation_) load(path);
    });
}

void PageView::stop() { ++navigation_; }

QString PageView::bodyMarkup() const { return bodyMarkupOf(text_, 0, text_.size()); }

QString PageView::bodyMarkup(qsizetype from, qsizetype count) const { return bodyMarkupOf(text_, from, count); }

void PageView::clear() {
    text_ = QString();
    stamp_ = FileStamp();
}

void PageView::load(const QString& path) {
    FileContent file;
    try {
        file = readRegularFile(path);
    } catch (const FileError& failure) {
        // Half a file would reach the pad and, saved, replace the whole one: none is better.
        clear();
        emit navigateError(this, path, failure.missing(), failure.reason());
        return;
    }
    stamp_ = file.stamp;
    text_ = decodeNotesFile(file.bytes);
    file.bytes = QByteArray();  // the text is all that is kept
    emit documentComplete(this, path);
}

}  // namespace agelark
