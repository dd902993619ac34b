#include "ui/console_page.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "engine/age.h"
#include "engine/date_text.h"
#include "link/visit.h"
#include "platform/accessible.h"
#include "platform/locale_dates.h"
#include "platform/pictures.h"
#include "platform/platform.h"
#include "ui/copy_menu.h"
#include "ui/design_kit.h"
#include "ui/report_label.h"

namespace agelark {

const QString bylineText = QStringLiteral("by the Agelark team");

QString dateBoxText(const CivilDateTime& moment) { return dateTimeText(moment); }

ConsolePage::ConsolePage(QWidget* page, const ConsolePageDesign& d) {
    const QString title = QString::fromLatin1(d.title);
    const std::vector<const ConsoleEntry*> consoles = consolesOn(d.page);
    Q_ASSERT(consoles.size() == d.consoles.size());
    auto place = d.consoles.begin();
    for (const ConsoleEntry* console : consoles) {
        buttons_.push_back({makeButton(page, qtext(console->button), qtext(console->caption),
                                       {d.buttonLeft, place->top, place->width, 360}),
                            console});
        ++place;
    }
    visit_ = makeButton(page, d.visit.name, visitCaption, d.visit.place);
    if (d.line) makeLine(page, d.line, 1485, 4400, 1485, 310);
    picture_ = makePictureBox(page, d.picture.name, d.picture.place, title + " picture");
    result_ = new ReportLabel(picture_, d.result.name, "Agelark v2.5", d.result.place, d.byline.place.top,
                              title + " result");
    giveCopyMenu(result_, [result = result_] { return result->text(); });
    byline_ = makeLabel(picture_, d.byline.name, bylineText, d.byline.place, "Credit");
    styleDigital(byline_);
    then_ = makeTextBox(page, d.thenBox.name, d.thenBox.text, d.thenBox.place, title + " count-from date");
    then_->setEnabled(false);
    if (d.nowBox.name) {
        now_ = makeTextBox(page, d.nowBox.name, d.nowBox.text, d.nowBox.place, title + " current date");
        now_->setEnabled(false);
    }
}

void ConsolePage::show(const ConsoleEntry& console, const QString& nowText) {
    setPicture(picture_, console.pictureFile);
    counting_ = &console;
    for (const ConsoleButton& b : buttons_) {
        reportTo(b.button, b.console == &console ? result_ : nullptr);
        if (b.console == &console) reporting_ = b.button;
    }
    from_ = parseDateText(console.countFrom);
    counted_ = -1e300;
    failureTold = false;
    setTextColor(result_, colorFromBgr(console.labelColour));
    result_->fitToReports();
    setPointSize(result_, console.labelPoints);
    setBoxText(then_, qtext(console.countFrom));
    if (now_) setBoxText(now_, nowText);
    byline_->hide();
}

void ConsolePage::count(double now, const QString& nowText) {
    if (!counting_ || now == counted_) return;
    if (now_) setBoxText(now_, nowText);
    result_->setText(qtext(reportText(*counting_, from_, now)));
    reported(reporting_);  // told once, as the count starts
    counted_ = now;
}

}  // namespace agelark
