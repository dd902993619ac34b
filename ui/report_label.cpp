#include "ui/report_label.h"

#include <QAccessibleWidget>
#include <QEvent>
#include <QFontMetricsF>
#include <QHash>
#include <QPaintEvent>
#include <QPainter>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "engine/age.h"
#include "engine/catalogue.h"
#include "engine/date_text.h"
#include "platform/accessible.h"
#include "platform/platform.h"
#include "ui/design_kit.h"

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

// The lines of `reports` that reach past `room`, each measured at its own
// size; `widest` is set to the furthest reach. A line reaches to its advance,
// or past it when a bold italic face leans beyond: by its last letter's
// overhang (a negative right bearing), read for that letter alone.
std::vector<ReportLines> linesPast(QFont font, const std::vector<ReportLines>& reports, double room, double& widest) {
    std::vector<ReportLines> past;
    widest = 0;
    for (const ReportLines& report : reports) {
        font.setPointSizeF(report.points);
        const QFontMetricsF metrics(font);
        QStringList over;
        for (const QString& line : report.lines) {
            const double overhang = line.isEmpty() ? 0 : std::max(0.0, -metrics.rightBearing(line.back()));
            const double reach = metrics.horizontalAdvance(line) + overhang;
            widest = std::max(widest, reach);
            if (reach > room) over += line;
        }
        if (!over.isEmpty()) past.push_back({report.points, over});
    }
    return past;
}

// The stretch at which every report fits a label's room. A first guess from
// the widest line, then a step narrower at a time while some line still runs
// over (glyph widths round with the stretch). A line that fits at full width
// fits at any narrower one, so only the lines that ran over are measured
// again.
int fittingStretch(QFont font, double room) {
    font.setStretch(100);
    double widest = 0;
    const std::vector<ReportLines> over = linesPast(font, longestReports(), room, widest);
    if (over.empty()) return 100;
    int stretch = std::max(1, int(std::floor(100 * room / widest)));
    font.setStretch(stretch);
    while (stretch > 50 && !linesPast(font, over, room, widest).empty()) font.setStretch(--stretch);
    return stretch;
}

// Read as the text it shows, as a label is; once a console reports to it, as
// a notification, which a screen reader tells as it shows (reportTo).
class ReportAccessible : public QAccessibleWidget {
public:
    explicit ReportAccessible(QWidget* report) : QAccessibleWidget(report, QAccessible::StaticText) {}
    QAccessible::Role role() const override {
        return tellsCount(widget()) ? QAccessible::Notification : QAccessible::StaticText;
    }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? static_cast<ReportLabel*>(widget())->text() : QAccessibleWidget::text(t);
    }
};

const QString lineBreak = QStringLiteral("\r\n");

}  // namespace

ReportLabel::ReportLabel(QWidget* picture, const QString& name, const QString& caption, Twips place, int bottom,
                         const QString& description)
    : QWidget(picture) {
    readAs(this, [](QWidget* report) -> QAccessibleInterface* { return new ReportAccessible(report); });
    setObjectName(name);
    setAccessibleDescription(description);
    const QRect at = twipsRect(place);
    const int margin = 3;
    setGeometry(at.x(), at.y(), picture->width() - margin - at.x(), px(bottom) - at.y());
    styleDigital(this);
    setText(caption);
}

QRect ReportLabel::lineRect(qsizetype line) const {
    const int spacing = fontMetrics().lineSpacing();
    return QRect(0, int(line) * spacing, width(), spacing);
}

void ReportLabel::setText(const QString& text) {
    if (text == text_) return;
    text_ = text;
    const QStringList lines = text.split(lineBreak);
    // Only what changed is drawn again: over the picture, a line costs its glyphs and the picture beneath.
    for (qsizetype i = 0; i < std::max(lines.size(), lines_.size()); ++i) {
        if (i < lines.size() && i < lines_.size() && lines_[i].text() == lines[i]) continue;
        if (i < lines.size()) {
            if (i < lines_.size())
                lines_[i].setText(lines[i]);
            else
                lines_.append(QStaticText(lines[i]));
            lines_[i].setTextFormat(Qt::PlainText);
        }
        update(lineRect(i));
    }
    lines_.resize(lines.size());
    QAccessibleEvent changed(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
}

void ReportLabel::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    for (qsizetype i = 0; i < lines_.size(); ++i)
        if (event->region().intersects(lineRect(i))) painter.drawStaticText(lineRect(i).topLeft(), lines_[i]);
}

void ReportLabel::changeEvent(QEvent* event) {
    // Another size, face or colour: every line is drawn again (and laid out again for its new face).
    if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange) update();
    QWidget::changeEvent(event);
}

void ReportLabel::fitToReports() {
    if (fitted_) return;
    fitted_ = true;
    // The result labels share a face and a width: the answer measured for the
    // first serves the others (measuring every console's lines is the most
    // of a first report).
    static QHash<QString, int> stretchFor;
    QFont narrowed = font();
    const double room = contentsRect().width();
    const QString key = narrowed.key() + QLatin1Char('@') + QString::number(room);
    auto found = stretchFor.constFind(key);
    if (found == stretchFor.constEnd()) found = stretchFor.insert(key, fittingStretch(narrowed, room));
    narrowed.setStretch(*found);
    setFont(narrowed);
}

}  // namespace agelark
