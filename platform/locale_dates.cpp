#include "platform/locale_dates.h"

#include <QLocale>
#include <utility>
#include <vector>

namespace agelark {

namespace {

// A format's runs of one unquoted letter ("dd", "MM", "yyyy", "h"), each with
// the text before it, quoted letters included.
std::vector<std::pair<QString, QString>> fieldsOf(const QString& format) {
    std::vector<std::pair<QString, QString>> fields;
    QString before;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == u'\'') {
            quoted = !quoted;
        } else if (quoted || !c.isLetter()) {
            before += c;
        } else if (!fields.empty() && before.isEmpty() && fields.back().second.front() == c) {
            fields.back().second += c;
        } else {
            fields.emplace_back(std::exchange(before, {}), QString(c));
        }
    }
    return fields;
}

// The locale's short date: three numbers in one order, one separator. False
// for any other form (month names, as in the C locale).
bool readDateForm(const QLocale& locale, DateForm& form) {
    const auto date = fieldsOf(locale.dateFormat(QLocale::ShortFormat));
    if (date.size() != 3) return false;
    QString letters;
    for (const auto& [before, field] : date) {
        const QChar c = field.front();
        if (c == u'y' ? field.size() != 2 && field.size() != 4 : (c != u'd' && c != u'M') || field.size() > 2) return false;
        letters += c;
        if (c == u'd') form.twoDigitDay = field.size() == 2;
        if (c == u'M') form.twoDigitMonth = field.size() == 2;
    }
    const QString separator = date[1].first;
    if (separator.trimmed().isEmpty() || date[2].first != separator) return false;
    if (letters == u"Mdy") form.order = DateOrder::monthDayYear;
    else if (letters == u"dMy") form.order = DateOrder::dayMonthYear;
    else if (letters == u"yMd") form.order = DateOrder::yearMonthDay;
    else return false;
    form.separator = separator.toStdString();
    return true;
}

}  // namespace

DateForm dateFormOf(const QLocale& locale) {
    DateForm form;
    if (locale.zeroDigit() != u"0") return form;
    // A date the locale writes otherwise takes the US form; its time of day stays the locale's, as the clock's.
    if (!readDateForm(locale, form)) form = DateForm{};

    form.twelveHour = false;
    for (const auto& [before, field] : fieldsOf(locale.timeFormat(QLocale::ShortFormat))) {
        const QChar c = field.front();
        if (c == u'a' || c == u'A') form.twelveHour = true;
        if (c == u'h' || c == u'H') form.twoDigitHour = field.size() == 2;
        if (c == u'm' && before.size() == 1 && before.front().isPunct() && before.front().unicode() < 0x80)
            form.timeSeparator = before.front().toLatin1();
    }
    // With plain blanks, as the user types them ("a.\u00a0m." is "a. m."); the
    // parse takes the Latin AM/PM as well.
    const QString am = locale.amText().simplified(), pm = locale.pmText().simplified();
    if (!am.isEmpty() && !pm.isEmpty() && am != pm) form.am = am.toStdString(), form.pm = pm.toStdString();
    return form;
}

QString dateTimeText(const CivilDateTime& moment) {
    // Written ten times a second for the date boxes; the locale changes seldom.
    static QLocale formOf;
    static DateForm form = dateFormOf(formOf);
    if (const QLocale locale; !(locale == formOf)) form = dateFormOf(formOf = locale);
    return QString::fromStdString(formatDateText(moment, form));
}

double dateTimeOfText(const QString& text) { return parseDateText(text.toStdString(), dateFormOf(QLocale())); }

}  // namespace agelark
