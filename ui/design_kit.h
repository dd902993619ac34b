#pragma once
// Small makers for the controls of the window designs: each control gets its
// name, its caption or text, its place in twips and an accessible name.

#include <QColor>
#include <QFont>
#include <QSize>
#include <QString>
#include <cstdint>

#include "ui/twips.h"

class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QWidget;

namespace agelark {

// A control given its name and its place in its container.
template <class W>
W* place(W* widget, const QString& name, Twips where) {
    widget->setObjectName(name);
    widget->setGeometry(twipsRect(where));
    return widget;
}

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption, Twips place);
// A label reads to assistive tools as the text it shows, whatever that is at
// the moment (a count, the time); `description` says what the label is.
// A label that `tellsCounts` reads as readAsCount says.
QLabel* makeLabel(QWidget* parent, const QString& name, const QString& caption, Twips place,
                  const QString& description = {}, bool tellsCounts = false);
QLineEdit* makeTextBox(QWidget* parent, const QString& name, const QString& text, Twips place,
                       const QString& accessibleName);
QPlainTextEdit* makeMultiLineTextBox(QWidget* parent, const QString& name, const QString& text, Twips place,
                                     const QString& accessibleName);
// A picture box: shows its picture at its own size, clipped, from the top-left corner.
QLabel* makePictureBox(QWidget* parent, const QString& name, Twips place, const QString& accessibleName);
// A line from (x1, y1) to (x2, y2); only vertical and horizontal lines occur.
QFrame* makeLine(QWidget* parent, const QString& name, int x1, int y1, int x2, int y2);
QGroupBox* makeFrame(QWidget* parent, const QString& name, const QString& caption, Twips place);
QProgressBar* makeProgressBar(QWidget* parent, const QString& name, Twips place);

// The window keeps its designed size, and its frame offers what such a window
// can do: closing it and, when `minimisable`, minimising it. A maximise box
// would do nothing, and its room in the title bar cuts a short title.
void fixWindowFrame(QWidget* window, QSize size, bool minimisable);

// The faces the designs ask for by name. Where the system lacks one, a face
// of about its width stands in when there is one, so texts fit their controls.
inline const QString digitalFace = QStringLiteral("Let's go Digital");  // title, result and byline labels
inline const QString tahomaFace = QStringLiteral("Tahoma");               // Form2 and Saved
inline const QString sansSerifFace = QStringLiteral("MS Sans Serif");     // Form1, Form2's buttons

// A date box's text, shown from its start as a box filled at design time
// shows it (a narrow box would otherwise show the end of a long date). A box
// already showing `text` so is left untouched.
void setBoxText(QLineEdit* box, const QString& text);

// A colour given as 0xBBGGRR (red in the low byte).
QColor colorFromBgr(std::uint32_t bgr);
void setTextColor(QWidget* label, const QColor& color);
void setPointSize(QWidget* label, double points);

QFont designFont(const QString& family, double points, bool bold = false, bool italic = false);

// A title, result or byline label: the digital face, bold italic, dark red,
// and at least one line of it high.
void styleDigital(QWidget* label, double points = 15.75);

}  // namespace agelark
