#pragma once
// A console's result over its picture: the report's three lines in the
// digital face, each on a line of its own, from the designed top-left corner
// to the picture box's edge. It reads to assistive tools as the text it
// shows. Only the lines that change are drawn again: the count's line changes
// every second, the title and the release line when another console counts.

#include <QStaticText>
#include <QWidget>

#include "ui/twips.h"

namespace agelark {

class ReportLabel : public QWidget {
    Q_OBJECT
public:
    // Shows `caption`; reaches down to `bottom` (twips) in its picture box.
    ReportLabel(QWidget* picture, const QString& name, const QString& caption, Twips place, int bottom,
                const QString& description);

    QString text() const { return text_; }
    void setText(const QString& text);
    // Narrows the face (its horizontal stretch) just so far that the longest
    // line of any console's report fits the width: a title, a release line,
    // or the age line at the longest count there is. The designed face fits
    // as it is; a wider face standing in for it is narrowed. The stretch stays
    // when a click sets the console's point size, and the line lengths are
    // measured at each console's own size. Done once, as the first report
    // comes: the caption before it fits in the face's own width.
    void fitToReports();

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QRect lineRect(qsizetype line) const;
    QString text_;
    QList<QStaticText> lines_;
    bool fitted_ = false;
};

}  // namespace agelark
