#pragma once
// What the counters keep in their controls: moments as date-box texts, read
// back with the program's own date parse, and label colours as 0xBBGGRR values.

#include <QColor>
#include <QString>
#include <cstdint>

class QLabel;
class QLineEdit;

namespace agelark {

// The current moment of the platform clock as a date box holds it.
QString currentDateText();

// The moment a date box's text names; throws DateConversionError when it names none.
double dateOfText(const QString& text);

// Writes a date box's text and shows it from its start, as a box filled at
// design time does (a narrow box would otherwise show the end of a long date).
// A box already showing `text` that way is left untouched.
void setBoxText(QLineEdit* box, const QString& text);

// A colour given as 0xBBGGRR (red in the low byte).
QColor colorFromBgr(std::uint32_t bgr);

// The label's text colour.
void setTextColor(QLabel* label, const QColor& color);

}  // namespace agelark
