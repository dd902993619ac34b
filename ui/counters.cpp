#include "ui/counters.h"

#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "engine/age.h"
#include "platform/accessible.h"
#include "platform/control_values.h"
#include "platform/controls.h"
#include "platform/errors.h"
#include "platform/pictures.h"
#include "platform/rebuild.h"
#include "platform/timers.h"
#include "platform/windows.h"

namespace agelark {

namespace {

constexpr int tickMilliseconds = 100;

const QString atariNotice = QStringLiteral(
    "This program no longer functions correctly due to time.\r\n"
    "Eventually all consoles will stop working.");

void setFontSize(QLabel* label, double points) {
    QFont font = label->font();
    font.setPointSizeF(points);
    label->setFont(font);
}

// One tick without any trap: every failure propagates to the caller.
void countOnce(FormWindow* window, const ConsoleEntry& entry) {
    auto nowBox = control<QLineEdit>(window, entry.nowBox);
    auto thenBox = control<QLineEdit>(window, entry.thenBox);
    setBoxText(nowBox, currentDateText());
    const QString thenText = thenBox->text();
    const QString nowText = nowBox->text();
    const double now = dateOfText(nowText);
    const double then = dateOfText(thenText);
    control<QLabel>(window, entry.resultLabel)->setText(QString::fromStdString(reportText(entry, then, now)));
    reported(control<QPushButton>(window, entry.button));
}

}  // namespace

void consoleClick(FormWindow* window, const ConsoleEntry& entry) {
    // The picture comes first: when it cannot be loaded nothing else changes.
    setPicture(control<QLabel>(window, entry.pictureBox), entry.pictureFile);

    Timer* timer = control<Timer>(window, entry.timer);
    timer->setTickInterval(tickMilliseconds);
    timer->setEnabled(true);
    for (const ConsoleEntry* other : groupOf(entry))
        if (other->timer != entry.timer) {
            control<Timer>(window, other->timer)->setEnabled(false);
            reportTo(control<QPushButton>(window, other->button), nullptr);
        }
    reportTo(control<QPushButton>(window, entry.button), control<QLabel>(window, entry.resultLabel));

    auto label = control<QLabel>(window, entry.resultLabel);
    setTextColor(label, colorFromBgr(entry.labelForeColor));
    setFontSize(label, entry.labelFontSize);
    setBoxText(control<QLineEdit>(window, entry.thenBox), QString::fromUtf8(entry.countFromText));
    setBoxText(control<QLineEdit>(window, entry.nowBox), currentDateText());
    control<QLabel>(window, arrayMember("lblByWendrix", entry.bylineIndex))->hide();
}

void consoleTick(FormWindow* window, const ConsoleEntry& entry) {
    switch (entry.onFailure) {
    case OnFailure::Tell:
        return countOnce(window, entry);  // the failure boundary tells it, once
    case OnFailure::StartOver:
        return tickOrStartOver(control<Timer>(window, entry.timer),
                               {.tab = entry.tabIndex, .notice = atariNotice, .keepUnsaved = true},
                               [&] { countOnce(window, entry); });
    }
}

}  // namespace agelark
