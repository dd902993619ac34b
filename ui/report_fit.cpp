#include "ui/report_fit.h"

#include <QFontMetricsF>
#include <QHash>
#include <QLabel>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "engine/age.h"
#include "engine/catalogue.h"
#include "engine/date_text.h"
#include "platform/platform.h"

namespace agelark {

namespace {

// The longest count there is: one second short of what a signed 32-bit count overflows at.
constexpr double longestCountDays = double(std::numeric_limits<std::int32_t>::max()) / 86400.0;

struct ReportLines {
    double points;
    QStringList lines;
};

// Every line of every console's report at its longest, each line once for
// each size it is shown at (the count's line reads the same for all).
const std::vector<ReportLines>& longestReports() {
    static const std::vector<ReportLines> reports = [] {
        std::vector<ReportLines> bySize;
        for (const ConsoleEntry& entry : catalogue()) {
            const double then = parseDateText(entry.countFrom);
            const QString text = qtext(reportText(entry, then, then + longestCountDays));
            auto size = std::find_if(bySize.begin(), bySize.end(),
                                     [&](const ReportLines& r) { return r.points == entry.labelPoints; });
            if (size == bySize.end()) size = bySize.insert(bySize.end(), {entry.labelPoints, {}});
            size->lines += text.split(QStringLiteral("\r\n"));
        }
        for (ReportLines& size : bySize) size.lines.removeDuplicates();
        return bySize;
    }();
    return reports;
}

// The widest line's ink or advance, whichever reaches further: a bold italic
// face leans past its advance, by its last letter's overhang (a negative right
// bearing). That one letter is read, not the ink of the whole line.
double widest(QFont font, const ReportLines& report) {
    font.setPointSizeF(report.points);
    const QFontMetricsF metrics(font);
    double width = 0;
    for (const QString& line : report.lines) {
        const double advance = metrics.horizontalAdvance(line);
        const double overhang = line.isEmpty() ? 0 : std::max(0.0, -metrics.rightBearing(line.back()));
        width = std::max(width, advance + overhang);
    }
    return width;
}

bool allFit(const QFont& font, double room) {
    for (const ReportLines& report : longestReports())
        if (widest(font, report) > room) return false;
    return true;
}

// The stretch at which every report fits a label's room, found by measuring
// each console's lines.
int fittingStretch(QFont font, double room) {
    font.setStretch(100);
    // A first guess from the widest line, then a step narrower at a time while
    // some line still runs over (glyph widths round with the stretch).
    double widestAtFull = 0;
    for (const ReportLines& report : longestReports()) widestAtFull = std::max(widestAtFull, widest(font, report));
    if (widestAtFull <= room) return 100;
    int stretch = std::max(1, int(std::floor(100 * room / widestAtFull)));
    font.setStretch(stretch);
    while (stretch > 50 && !allFit(font, room)) font.setStretch(--stretch);
    return stretch;
}

}  // namespace

void fitReportLines(QLabel* result) {
    // The result labels share a face and a width: the answer measured for the
    // first serves the others (measuring every console's lines is most of the
    // windows' making).
    static QHash<QString, int> stretchFor;
    QFont font = result->font();
    const double room = result->contentsRect().width();
    const QString key = font.key() + QLatin1Char('@') + QString::number(room);
    auto found = stretchFor.constFind(key);
    if (found == stretchFor.constEnd()) found = stretchFor.insert(key, fittingStretch(font, room));
    font.setStretch(*found);
    result->setFont(font);
}

}  // namespace agelark
