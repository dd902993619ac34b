#pragma once
// A small page view with no visible surface that reads a plain text file and
// builds a document whose body markup is the file's text inside "<PRE>" and
// "</PRE>". The file is read and decoded on the notes thread a part at a
// time, as a browser receives a page: the view tells when the first part has
// come (navigateComplete2), hands the parts out in order, and tells when the
// last one has come (documentComplete).

#include <QList>
#include <QWidget>
#include <memory>
#include <optional>

#include "notes/file_stamp.h"

namespace agelark {

class PageView : public QWidget {
    Q_OBJECT
public:
    explicit PageView(QWidget* parent = nullptr);
    ~PageView() override;

    // Starts loading `path`; navigateComplete2 and documentComplete, or
    // navigateError when the file is missing or cannot be read, follow from
    // the event loop under `path` as given. Only regular files are read:
    // nothing else can hold it up. A navigation under way is cancelled.
    void navigate(const QString& path);
    // Cancels a navigation that has not completed.
    void stop();

    // The next part of the body markup: the file's text with `<`, `>` and `&`
    // written as character references, the first part beginning with "<PRE>",
    // the last ending with "</PRE>". None while no part is waiting. The file
    // is read only a few parts ahead of what was taken, so that a big file
    // does not pile up in memory twice.
    std::optional<QString> takeBodyMarkup();
    // Every part has come and been taken.
    bool allTaken() const { return completed_ && parts_.isEmpty(); }
    // The file's size when it was opened.
    qint64 expectedSize() const { return expectedSize_; }
    // What the file held once the document is complete: size, modification
    // time and hash of the bytes read.
    const FileStamp& fileStamp() const { return stamp_; }
    // Lets go of the document, as a blank page would.
    void clear();

    // The window holding the view: the container of its top-level document.
    QObject* container() const { return window(); }

    struct Navigation;  // the notes thread's reading, shared with it

signals:
    // The file was opened and its first part has come. `frame` is the view
    // itself for its top-level document.
    void navigateComplete2(QObject* frame, const QString& address);
    // The last part has come.
    void documentComplete(QObject* frame, const QString& address);
    // `notFound` when nothing is at the address; `reason` says why, for the
    // user. Also after navigateComplete2, when the reading fails on the way.
    void navigateError(QObject* frame, const QString& address, bool notFound, const QString& reason);

private:
    void partArrived(quint64 id, const QString& path, QString markup, bool first, bool last, const FileStamp& stamp,
                     qint64 size);
    void failed(quint64 id, const QString& path, bool notFound, const QString& reason);

    QList<QString> parts_;
    bool completed_ = false;
    qint64 expectedSize_ = 0;
    FileStamp stamp_;
    quint64 navigation_ = 0;
    std::shared_ptr<Navigation> reading_;
};

}  // namespace agelark
