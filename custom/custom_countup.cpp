#include "custom/custom_countup.h"

#include <QLabel>
#include <QLineEdit>

#include "engine/age.h"
#include "platform/accessible.h"
#include "platform/control_values.h"
#include "platform/controls.h"
#include "platform/rebuild.h"
#include "platform/timers.h"
#include "platform/windows.h"

namespace agelark {

namespace {

constexpr int customTab = 5;

// One tick without any trap: every failure propagates to the caller.
void countOnce(FormWindow* form1) {
    auto nowBox = control<QLineEdit>(form1, "txtCusNow");
    auto thenBox = control<QLineEdit>(form1, "txtCusThen");
    setBoxText(nowBox, currentDateText());
    const QString thenText = thenBox->text();
    const QString nowText = nowBox->text();
    const double now = dateOfText(nowText);
    const double then = dateOfText(thenText);
    control<QLabel>(form1, "lblCustom")->setText(QString::fromStdString(CalcDiffCUSDates(then, now)));
    reported(control<QWidget>(form1, "cmdCustom"));
    // Counting has begun: the date it counts from can no longer be edited. It
    // stays in the Tab order, greyed, so the keyboard can still reach and read it.
    if (!thenBox->isReadOnly()) {
        thenBox->setReadOnly(true);
        QPalette greyed = thenBox->palette();
        greyed.setColor(QPalette::Text, greyed.color(QPalette::Disabled, QPalette::Text));
        thenBox->setPalette(greyed);
    }
}

}  // namespace

void cmdCustom_Click(FormWindow* form1) {
    Timer* timer = control<Timer>(form1, "Timer24");
    timer->setTickInterval(100);
    timer->setEnabled(true);
    setTextColor(control<QLabel>(form1, "lblCustom"), Qt::black);
    reportTo(control<QWidget>(form1, "cmdCustom"), control<QLabel>(form1, "lblCustom"));
    setBoxText(control<QLineEdit>(form1, "txtCusNow"), currentDateText());
}

void Timer24_Timer(FormWindow* form1) {
    // Whatever fails (a text that is no date, a moment too far off) ends the
    // same way: the main window starts afresh on the Custom page and says so.
    tickOrStartOver(control<Timer>(form1, "Timer24"),
                    {.tab = customTab, .notice = QStringLiteral("Improper Format!"), .keepUnsaved = true},
                    [&] { countOnce(form1); });
}

void cmdReset_Click(FormWindow*) { requestRebuild({.tab = customTab}); }

}  // namespace agelark
