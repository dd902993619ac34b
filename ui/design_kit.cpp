#include "ui/design_kit.h"

#include <QFontDatabase>
#include <QFrame>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>

#include "ui/assistive.h"
#include "ui/twips.h"

namespace agelark {

namespace {

void addStandIns() {
    // Narrow faces first: the designs were measured with narrow faces.
    QFont::insertSubstitutions(digitalFace, {QStringLiteral("Nimbus Sans Narrow"),
                                             QStringLiteral("Liberation Sans Narrow"),
                                             QStringLiteral("DejaVu Sans Condensed")});
    for (const QString& face : {tahomaFace, sansSerifFace})
        QFont::insertSubstitutions(face, {QStringLiteral("DejaVu Sans Condensed"),
                                          QStringLiteral("Liberation Sans Narrow")});
}

// The designed face where it is installed, else the first stand-in that is,
// named directly: a face that is missing is otherwise looked for again, and
// its stand-ins tried in turn, at every size and style asked for.
QString installedFace(const QString& family) {
    static const bool standInsAdded = (addStandIns(), true);
    (void)standInsAdded;
    static QHash<QString, QString> installed;
    auto found = installed.constFind(family);
    if (found != installed.constEnd()) return *found;
    // The installed families, not hasFamily(): that also asks fontconfig for
    // each name's aliases, a lookup as slow as loading a face. A family that
    // more than one foundry makes is listed as "Family [foundry]".
    static const QStringList families = [] {
        QStringList names;
        for (const QString& family : QFontDatabase::families()) names += family.section(QStringLiteral(" ["), 0, 0);
        return names;
    }();
    const auto isInstalled = [](const QString& face) { return families.contains(face, Qt::CaseInsensitive); };
    QString face = family;
    if (!isInstalled(family))
        for (const QString& standIn : QFont::substitutes(family))
            if (isInstalled(standIn)) {
                face = standIn;
                break;
            }
    return *installed.insert(family, face);
}
}  // namespace

QFont designFont(const QString& family, double points, bool bold, bool italic) {
    QFont font(installedFace(family));
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

void styleDigital(QWidget* label, double points) {
    label->setFont(designFont(digitalFace, points, true, true));
    // At least a line high, descenders included: the designed height held the
    // designed face's line, a stand-in's may need a few pixels more.
    if (const int line = label->fontMetrics().height(); label->height() < line) label->resize(label->width(), line);
    setTextColor(label, QColor(0xC0, 0, 0));
}

void fixWindowFrame(QWidget* window, QSize size, bool minimisable) {
    window->setFixedSize(size);
    // Window managers offer no minimise box on a dialog, whatever else it asks for.
    Qt::WindowFlags flags = (minimisable ? Qt::Window | Qt::WindowMinimizeButtonHint : Qt::Dialog) |
                            Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                            Qt::WindowCloseButtonHint;
    window->setWindowFlags(flags);
}

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption, Twips where) {
    auto b = place(new QPushButton(parent), name, where);
    readAsReporting(b);  // before the caption, whose setting makes Qt's own interface
    b->setText(caption);
    b->setAccessibleName(caption);
    return b;
}

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& caption, Twips where,
                  const QString& description, bool tellsCounts) {
    auto l = place(new QLabel(parent), name, where);
    if (tellsCounts) readAsCount(l);  // before the text, whose setting makes Qt's own interface
    l->setText(caption);
    l->setAccessibleDescription(description);
    return l;
}

QLineEdit* makeTextBox(QWidget* parent, const QString& name, const QString& text, Twips where,
                       const QString& accessibleName) {
    auto t = place(new QLineEdit(text, parent), name, where);
    refuseEditsWhileLocked(t);
    t->setAccessibleName(accessibleName);
    t->setCursorPosition(0);
    return t;
}

QPlainTextEdit* makeMultiLineTextBox(QWidget* parent, const QString& name, const QString& text, Twips where,
                                     const QString& accessibleName) {
    auto t = place(new QPlainTextEdit(text, parent), name, where);
    t->setAccessibleName(accessibleName);
    // Tab leaves the box for the next control, as in every other control:
    // a keyboard user could never get out of it otherwise.
    t->setTabChangesFocus(true);
    return t;
}

QLabel* makePictureBox(QWidget* parent, const QString& name, Twips where, const QString& accessibleName) {
    auto p = place(new QLabel(parent), name, where);
    p->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    p->setFrameShape(QFrame::Box);
    p->setAccessibleName(accessibleName);
    return p;
}

QFrame* makeLine(QWidget* parent, const QString& name, int x1, int y1, int x2, int y2) {
    auto line = new QFrame(parent);
    line->setObjectName(name);
    const bool vertical = x1 == x2;
    line->setFrameShape(vertical ? QFrame::VLine : QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    readAsSeparator(line);  // before anything that reads it to an assistive tool
    line->setAccessibleName(QStringLiteral("Divider"));
    const int left = std::min(x1, x2), top = std::min(y1, y2);
    line->setGeometry(vertical ? QRect(px(left), px(top), 1, px(std::abs(y2 - y1)))
                               : QRect(px(left), px(top), px(std::abs(x2 - x1)), 1));
    return line;
}

QGroupBox* makeFrame(QWidget* parent, const QString& name, const QString& caption, Twips where) {
    auto f = place(new QGroupBox(caption, parent), name, where);
    f->setAccessibleName(caption);
    return f;
}

QProgressBar* makeProgressBar(QWidget* parent, const QString& name, Twips where) {
    auto bar = place(new QProgressBar(parent), name, where);
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(false);
    bar->setAccessibleName(QStringLiteral("Save progress"));
    return bar;
}

void setBoxText(QLineEdit* box, const QString& text) {
    // QLineEdit redoes a write of the text it holds in full: the cursor goes
    // to the end and back, the box repaints (and the window is sent to the
    // display again), assistive tools are told of a new text. A date box is
    // written ten times a second with a text that changes once a second.
    if (box->text() == text && box->cursorPosition() == 0 && !box->hasSelectedText() && !box->isModified()) return;
    box->setText(text);
    box->setCursorPosition(0);
}

QColor colorFromBgr(std::uint32_t bgr) {
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

void setTextColor(QWidget* label, const QColor& color) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
}

void setPointSize(QWidget* label, double points) {
    QFont font = label->font();
    font.setPointSizeF(points);
    label->setFont(font);
}

}  // namespace agelark
