#include "custom/count_up.h"

#include <QLabel>
#include <QLineEdit>

#include "engine/age.h"
#include "engine/date_text.h"
#include "platform/locale_dates.h"

namespace agelark {

CountUp::CountUp(QLineEdit* from, QLabel* result) : from_(from), result_(result) {}

void CountUp::submit() {
    armed_ = true;
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
    // Counting has begun: the date it counts from can no longer be edited.
    from_->setEnabled(false);
}

}  // namespace agelark
