#include "tab_control.h"

#include <QStackedWidget>
#include <QTabBar>

namespace agelark {

TabControl::TabControl(QWidget* parent)
    : QWidget(parent), bar_(new QTabBar(this)), pages_(new QStackedWidget(this)) {
    bar_->setObjectName("SSTTab1_tabs");
    bar_->setDrawBase(true);
    bar_->setExpanding(false);
    pages_->setFrameShape(QFrame::StyledPanel);
    connect(bar_, &QTabBar::currentChanged, this, [this](int index) {
        pages_->setCurrentIndex(index);
        emit currentChanged(index);
    });
}

QWidget* TabControl::addPage(const QString& caption) {
    auto page = new QWidget;
    page->setObjectName(QStringLiteral("SSTTab1_page%1").arg(pages_->count()));
    pages_->addWidget(page);
    bar_->addTab(caption);
    bar_->raise();
    return page;
}

int TabControl::currentIndex() const { return bar_->currentIndex(); }
void TabControl::setCurrentIndex(int index) { bar_->setCurrentIndex(index); }
int TabControl::count() const { return bar_->count(); }
QWidget* TabControl::page(int index) const { return pages_->widget(index); }

void TabControl::resizeEvent(QResizeEvent*) {
    pages_->setGeometry(rect());
    bar_->setGeometry(0, 0, width(), bar_->sizeHint().height());
    bar_->raise();
}

}  // namespace agelark
