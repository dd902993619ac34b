#pragma once
// The count-up from a date the user types, on the Custom page. Submit arms
// it and checks nothing; the first count reads the typed date and locks its
// box, and each count shows the age since then. A date that cannot be
// counted (no date, one in the future, one too far back) fails the count:
// the main window then starts over and says "Improper Format!".

#include <QString>
#include <optional>

class QLabel;
class QLineEdit;
class QWidget;

namespace agelark {

// The words of a count-up that cannot be counted.
inline const QString improperFormatNotice = QStringLiteral("Improper Format!");

class CountUp {
public:
    // `submit`, which starts it, tells screen readers the count.
    CountUp(QLineEdit* from, QLabel* result, QWidget* submit);

    // "Submit": the count runs from the next beat.
    void submit();
    bool armed() const { return armed_; }
    void stop() { armed_ = false; }
    // The count brought up to `now`; throws when the date cannot be counted.
    void count(double now);

private:
    QLineEdit* from_;
    QLabel* result_;
    QWidget* submit_;
    bool armed_ = false;
    std::optional<double> then_;  // read by the first count
};

}  // namespace agelark
