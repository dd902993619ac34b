#include "ui/tab_control.h"

#include <QAccessibleWidget>
#include <QProxyStyle>
#include <QShortcut>
#include <QStackedWidget>
#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>

#include "platform/accessible.h"
#include "ui/assistive.h"

namespace agelark {

namespace {

// The system's style with a narrow margin beside each tab's caption, so the
// six captions fit their share of the width.
class CompactTabStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
        if (metric == PM_TabBarTabHSpace) return 6;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

}  // namespace

TabStrip::TabStrip(QWidget* parent) : QTabBar(parent) {
    auto style = new CompactTabStyle;
    style->setParent(this);
    setStyle(style);
    setDrawBase(false);  // the control draws the page frame itself
    setExpanding(false);
    setUsesScrollButtons(false);
    setElideMode(Qt::ElideRight);
    setFixedHeight(stripHeight);
}

QSize TabStrip::tabSizeHint(int index) const {
    // Equal shares of the width; the last tab takes what the division leaves.
    const int n = std::max(1, count());
    const int share = width() / n;
    const int w = index == n - 1 ? width() - share * (n - 1) : share;
    return QSize(std::max(w, 1), stripHeight);
}

QSize TabStrip::minimumTabSizeHint(int index) const { return tabSizeHint(index); }

TabControl::TabControl(QWidget* parent)
    : QWidget(parent), bar_(new TabStrip(this)), pages_(new QStackedWidget(this)) {
    bar_->setObjectName("SSTTab1_tabs");
    pages_->setFrameShape(QFrame::NoFrame);
    // The pages are what a screen reader meets, each by its name; their stack
    // is mere layout, not a "layered pane" to be announced.
    readAs(pages_, [](QWidget* stack) -> QAccessibleInterface* {
        return new QAccessibleWidget(stack, QAccessible::Client);
    });
    connect(bar_, &QTabBar::currentChanged, this, [this](int index) {
        // Renewed before it shows, so assistive tools meet it new, and shown.
        renewForAssistiveTools(pages_->widget(index));
        pages_->setCurrentIndex(index);
        emit currentChanged(index);
    });
    // Ctrl+Tab and Ctrl+PageDown show the next page, Ctrl+Shift+Tab and
    // Ctrl+PageUp the one before, from anywhere in the window, the notes pad
    // included; the tab strip takes the focus, so the page's name is heard.
    const auto turn = [this](std::initializer_list<QKeySequence> keys, int step) {
        auto shortcut = new QShortcut(this);
        shortcut->setKeys(keys);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, step] {
            bar_->setFocus(Qt::ShortcutFocusReason);
            bar_->setCurrentIndex((bar_->currentIndex() + step + bar_->count()) % bar_->count());
        });
    };
    turn({QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown)}, 1);
    turn({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab),
          QKeySequence(Qt::CTRL | Qt::Key_PageUp)}, -1);
}

QWidget* TabControl::addPage(const QString& caption) {
    auto page = new QWidget;
    page->setObjectName(QStringLiteral("SSTTab1_page%1").arg(pages_->count()));
    page->setAccessibleName(caption);
    pages_->addWidget(page);
    page->setGeometry(rect());
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
    // Every page, shown or not, covers the whole control.
    for (int i = 0; i < pages_->count(); ++i) pages_->widget(i)->setGeometry(rect());
    bar_->setGeometry(0, 0, width(), TabStrip::stripHeight);
    bar_->raise();
}

void TabControl::paintEvent(QPaintEvent*) {
    // The page frame, from just under the tabs to the bottom; the pages are
    // transparent, so it shows beneath their controls.
    QStylePainter painter(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.rect = rect().adjusted(0, TabStrip::stripHeight - 1, 0, 0);
    frame.shape = QTabBar::RoundedNorth;
    frame.tabBarSize = bar_->size();
    frame.tabBarRect = bar_->geometry();
    frame.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    painter.drawPrimitive(QStyle::PE_FrameTabWidget, frame);
    // Pages in the button face, as the boxes meant to pass unseen are drawn.
    const int edge = std::max(frame.lineWidth, 1);
    painter.fillRect(frame.rect.adjusted(edge, edge, -edge, -edge), palette().color(QPalette::Button));
}

}  // namespace agelark
