#pragma once
// A small page view with no visible surface that reads a plain text file and
// completes a document whose body markup is the file's text inside
// "<PRE>" and "</PRE>", asynchronously, through the event loop.

#include <QWidget>

#include "notes/file_stamp.h"

namespace agelark {

class PageView : public QWidget {
    Q_OBJECT
public:
    explicit PageView(QWidget* parent = nullptr);

    // Starts loading `path`; documentComplete, or navigateError when the file
    // is missing or cannot be read, follows from the event loop under `path`
    // as given. Only regular files are read: nothing else can hold it up.
    void navigate(const QString& path);
    // Cancels a navigation that has not completed.
    void stop();

    // The document last completed. Its body markup is the file's text with
    // `<`, `>` and `&` written as character references, inside "<PRE>" and
    // "</PRE>"; it can be had whole, or in parts that stand for `count`
    // characters of the text from `from` on, so that a big document never has
    // to be written out at once.
    QString bodyMarkup() const;
    QString bodyMarkup(qsizetype from, qsizetype count) const;
    qsizetype textLength() const { return text_.size(); }
    // What the file held: size, modification time and hash of the bytes read.
    const FileStamp& fileStamp() const { return stamp_; }
    // Lets go of the document, as a blank page would.
    void clear();

    // The window holding the view: the container of its top-level document.
    QObject* container() const { return window(); }

signals:
    // `frame` is the view itself for its top-level document.
    void documentComplete(QObject* frame, const QString& address);
    // `notFound` when nothing is at the address; `reason` says why, for the user.
    void navigateError(QObject* frame, const QString& address, bool notFound, const QString& reason);

private:
    void load(const QString& path);

    QString text_;
    FileStamp stamp_;
    quint64 navigation_ = 0;
};

}  // namespace agelark
