#pragma once
// A tab control whose pages cover the whole control, tab strip included, so
// that controls are placed relative to the control itself as they were
// designed. The strip is a compact row of equal tabs across the full width,
// drawn over the pages' top edge; the page frame starts below it.

#include <QTabBar>
#include <QWidget>

class QStackedWidget;

namespace agelark {

// All tabs in one row, sharing the strip's width equally, never scrolling.
class TabStrip : public QTabBar {
    Q_OBJECT
public:
    explicit TabStrip(QWidget* parent = nullptr);

    // The strip's height in pixels: the controls of the pages begin just below it.
    static constexpr int stripHeight = 20;

protected:
    QSize tabSizeHint(int index) const override;
    QSize minimumTabSizeHint(int index) const override;
};

class TabControl : public QWidget {
    Q_OBJECT
public:
    explicit TabControl(QWidget* parent = nullptr);

    // A new page with `caption`; controls are placed on it in the control's own coordinates.
    QWidget* addPage(const QString& caption);

    int currentIndex() const;
    void setCurrentIndex(int index);
    int count() const;
    QWidget* page(int index) const;
    QTabBar* tabBar() const { return bar_; }

signals:
    void currentChanged(int index);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    TabStrip* bar_;
    QStackedWidget* pages_;
};

}  // namespace agelark
