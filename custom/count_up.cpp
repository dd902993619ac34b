#include "custom/count_up.h"

#include <QLabel>
#include <QLineEdit>

#include "engine/age.h"
#include "engine/date_text.h"
#include "platform/accessible.h"
#include "platform/locale_dates.h"

namespace agelark {

CountUp::CountUp(QLineEdit* from, QLabel* result, QWidget* submit) : from_(from), result_(result), submit_(submit) {}

void CountUp::submit() {
    armed_ = true;
    reportTo(submit_, result_);
    // The designed black: the text colour of the desktop's own style, so that a dark one reads too.
    QPalette palette = result_->palette();
    palette.setColor(QPalette::WindowText, result_->parentWidget()->palette().color(QPalette::WindowText));
    result_->setPalette(palette);
}

void CountUp::count(double now) {
    if (!armed_) return;
    if (!then_) then_ = dateTimeOfText(from_->text());  // as the user's locale writes dates
    // The instructions say so: the count goes back in time, never forward.
    if (*then_ > now) throw DateConversionError("a date in the future");
    result_->setText(QString::fromStdString(ageText(*then_, now)));
    reported(submit_);  // told once, as the count starts
    // Counting has begun: the date it counts from can no longer be edited. It
    // stays in the Tab order, greyed, so the keyboard can still reach and read it.
    if (from_->isReadOnly()) return;
    from_->setReadOnly(true);
    QPalette greyed = from_->palette();
    greyed.setColor(QPalette::Text, greyed.color(QPalette::Disabled, QPalette::Text));
    from_->setPalette(greyed);
}

}  // namespace agelark
