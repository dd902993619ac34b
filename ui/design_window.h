#pragma once
// What the program's three windows share: their control name, caption and
// designed size, a frame that offers closing (and minimising, where it may),
// a window to screen readers, and load steps whose failure is told over the
// window once it shows.

#include <QWidget>
#include <exception>
#include <functional>

namespace agelark {

class DesignWindow : public QWidget {
public:
    DesignWindow(const QString& name, const QString& caption, QSize size, bool minimisable);

protected:
    // Runs the window's load steps; a failure stops them and is told once the window shows.
    void load(const std::function<void()>& steps);
    void showEvent(QShowEvent* event) override;

private:
    std::exception_ptr loadFailure_;
};

}  // namespace agelark
