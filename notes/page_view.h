#pragma once
// A small page view with no visible surface that reads a plain text file and
// completes a document whose body markup is the file's text inside
// "<PRE>" and "</PRE>", asynchronously, through the event loop.

#include <QWidget>

namespace agelark {

class PageView : public QWidget {
    Q_OBJECT
public:
    explicit PageView(QWidget* parent = nullptr);

    // Starts loading `path`; documentComplete follows from the event loop,
    // under `path` as given. A file that does not exist completes no document;
    // one that exists but cannot be read is reported in a warning box.
    void navigate(const QString& path);
    // Cancels a navigation that has not completed.
    void stop();

    // The body markup of the document last completed: the file's text with
    // `<`, `>` and `&` written as character references, inside "<PRE>" and "</PRE>".
    QString bodyMarkup() const { return bodyMarkup_; }
    // The window holding the view: the container of its top-level document.
    QObject* container() const { return window(); }

signals:
    // `frame` is the view itself for its top-level document.
    void documentComplete(QObject* frame, const QString& address);

private:
    void load(const QString& path);

    QString bodyMarkup_;
    quint64 navigation_ = 0;
};

}  // namespace agelark
