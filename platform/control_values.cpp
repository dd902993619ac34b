#include "platform/control_values.h"

#include <QLabel>
#include <QLineEdit>
#include <QPalette>

#include "engine/date_text.h"
#include "platform/platform.h"

namespace agelark {

QString currentDateText() { return QString::fromStdString(formatDateText(platform().clock->now())); }

double dateOfText(const QString& text) { return parseDateText(text.toStdString()); }

QColor colorFromBgr(std::uint32_t bgr) {
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

void setBoxText(QLineEdit* box, const QString& text) {
    // QLineEdit redoes a write of the text it holds in full: the cursor goes
    // to the end and back, the box repaints (and the window is sent to the
    // display again), assistive tools are told of a new text. The counters
    // write their now-box ten times a second with a text that changes once a
    // second, so a write that would leave the box as it is, is not made.
    if (box->text() == text && box->cursorPosition() == 0 && !box->hasSelectedText() && !box->isModified()) return;
    box->setText(text);
    box->setCursorPosition(0);
}

void setTextColor(QLabel* label, const QColor& color) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
}

}  // namespace agelark
