#include "notes/page_view.h"

#include <QPointer>
#include <QSemaphore>
#include <atomic>

#include "notes/file_read.h"
#include "notes/notes_text.h"
#include "notes/notes_worker.h"

namespace agelark {

namespace {

constexpr qsizetype partBytes = 1 << 20;  // read and decoded at a time
constexpr int partsAhead = 4;             // read but not yet taken, at most

}  // namespace

struct PageView::Navigation {
    std::atomic<bool> cancelled = false;
    QSemaphore room{partsAhead};
};

namespace {

// Waits until the view has taken enough parts for one more; false once the
// navigation was cancelled (the view stopped, navigated elsewhere or went).
bool roomForAnotherPart(PageView::Navigation& navigation) {
    while (!navigation.room.tryAcquire(1, 50))
        if (navigation.cancelled || notesWorkEnding()) return false;
    return !navigation.cancelled;
}

}  // namespace

PageView::PageView(QWidget* parent) : QWidget(parent) {}

PageView::~PageView() { stop(); }

void PageView::navigate(const QString& path) {
    stop();
    clear();
    const quint64 id = navigation_;
    reading_ = std::make_shared<Navigation>();
    // Made here, on the view's thread; the notes thread only copies it, and
    // only the view's thread looks at whether the view is still there.
    const QPointer<PageView> view(this);
    startNotesWork([navigation = reading_, view, id, path] {
        try {
            RegularFileReader file(path);
            const qint64 size = file.sizeAtOpening();
            NotesFileDecoder decoder;
            // One part read ahead, so that each part goes with word of whether
            // it is the last: a small file comes in one.
            QByteArray bytes = file.next(partBytes);
            for (bool first = true;; first = false) {
                if (!roomForAnotherPart(*navigation)) return;
                const QByteArray following = bytes.isEmpty() ? QByteArray() : file.next(partBytes);
                const bool last = following.isEmpty();
                QString markup = escapeMarkup(decoder.decode(bytes, last));
                if (first) markup.prepend(QStringLiteral("<PRE>"));
                if (last) markup.append(QStringLiteral("</PRE>"));
                const FileStamp stamp = last ? file.stamp() : FileStamp();
                backOnMainThread([=] {
                    if (view) view->partArrived(id, path, markup, first, last, stamp, size);
                });
                if (last) return;
                bytes = following;
            }
        } catch (const FileError& failure) {
            backOnMainThread([=, notFound = failure.missing(), reason = failure.reason()] {
                if (view) view->failed(id, path, notFound, reason);
            });
        }
    });
}

void PageView::stop() {
    ++navigation_;
    if (reading_) reading_->cancelled = true;
    reading_.reset();
}

std::optional<QString> PageView::takeBodyMarkup() {
    if (parts_.isEmpty()) return std::nullopt;
    if (reading_) reading_->room.release();
    return parts_.takeFirst();
}

void PageView::clear() {
    parts_.clear();
    completed_ = false;
    expectedSize_ = 0;
    stamp_ = FileStamp();
}

void PageView::partArrived(quint64 id, const QString& path, QString markup, bool first, bool last,
                           const FileStamp& stamp, qint64 size) {
    if (id != navigation_) return;
    parts_.append(std::move(markup));
    if (first) expectedSize_ = size;
    if (last) {
        stamp_ = stamp;
        completed_ = true;
        reading_.reset();
    }
    if (first) emit navigateComplete2(this, path);
    if (last && id == navigation_) emit documentComplete(this, path);
}

void PageView::failed(quint64 id, const QString& path, bool notFound, const QString& reason) {
    if (id != navigation_) return;
    // Half a file would reach the pad and, saved, replace the whole one: none is better.
    reading_.reset();
    clear();
    emit navigateError(this, path, notFound, reason);
}

}  // namespace agelark
