#pragma once
// A tab control whose pages cover the whole control, tab strip included, so
// that controls are placed relative to the control itself as they were
// designed; the strip is drawn over the pages' top edge.

#include <QWidget>

class QStackedWidget;
class QTabBar;

namespace agelark {

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

private:
    QTabBar* bar_;
    QStackedWidget* pages_;
};

}  // namespace agelark
