#include "ui/report_fit.h"

#include <QFontMetricsF>
#include <QLabel>
#include <QStringList>
#include <cmath>
#include <cstdint>
#include <limits>

#include "engine/age.h"
#include "engine/catalogue.h"
#include "engine/date_text.h"
#include "platform/controls.h"

namespace agelark {

namespace {

// The longest count there is: one second short of what a signed 32-bit count overflows at.
constexpr double longestCountDays = double(std::numeric_limits<std::int32_t>::max()) / 86400.0;

struct ReportLines {
    double points;
    QStringList lines;
};

// Every console's report at its longest, line by line, with the size it is shown at.
const std::vector<ReportLines>& longestReports() {
    static const std::vector<ReportLines> reports = [] {
        std::vector<ReportLines> all;
        for (const ConsoleEntry& entry : catalogue()) {
            const double then = parseDateText(entry.countFromText);
            const QString text = qtext(reportText(entry, then, then + longestCountDays));
            all.push_back({entry.labelFontSize, text.split(QStringLiteral("\r\n"))});
        }
        return all;
    }();
    return reports;
}

// The widest line's ink or advance, whichever reaches further (a bold italic
// face leans past its advance).
double widest(QFont font, const ReportLines& report) {
    font.setPointSizeF(report.points);
    const QFontMetricsF metrics(font);
    double width = 0;
    for (const QString& line : report.lines)
        width = std::max({width, metrics.horizontalAdvance(line), metrics.boundingRect(line).right()});
    return width;
}

bool allFit(const QFont& font, double room) {
    for (const ReportLines& report : longestReports())
        if (widest(font, report) > room) return false;
    return true;
}

}  // namespace

void fitReportLines(QLabel* result) {
    QFont font = result->font();
    const double room = result->contentsRect().width();
    font.setStretch(100);
    // A first guess from the widest line, then a step narrower at a time while
    // some line still runs over (glyph widths round with the stretch).
    double widestAtFull = 0;
    for (const ReportLines& report : longestReports()) widestAtFull = std::max(widestAtFull, widest(font, report));
    int stretch = widestAtFull <= room ? 100 : std::max(1, int(std::floor(100 * room / widestAtFull)));
    font.setStretch(stretch);
    while (stretch > 50 && !allFit(font, room)) font.setStretch(--stretch);
    result->setFont(font);
}

}  // namespace agelark
