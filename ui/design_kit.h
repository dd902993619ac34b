#pragma once
// Small makers for the controls of the window designs: each control gets its
// name, its caption or text, its place in twips and an accessible name.

#include <QFont>
#include <QSize>
#include <QString>

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

// A now-box: a text box whose text and background are the button face, so
// what it holds does not show. It paints nothing over the controls it lies on
// (the Atari page's box lies over the Visit button and, on the Custom page,
// the clock), and takes neither clicks nor the keyboard focus.
QLineEdit* makeUnseenTextBox(QWidget* parent, const QString& name, const QString& text, Twips place,
                             const QString& accessibleName);

// The window keeps its designed size, and its frame offers what such a window
// can do: closing it and, when `minimisable`, minimising it. A maximise box
// would do nothing, and its room in the title bar cuts a short title.
void fixWindowFrame(QWidget* window, QSize size, bool minimisable);

// The faces the designs ask for by name. Where the system lacks one, a face
// of about its width stands in when there is one, so texts fit their controls.
inline const QString digitalFace = QStringLiteral("Let's go Digital");  // title, result and byline labels
inline const QString tahomaFace = QStringLiteral("Tahoma");               // Form2 and Saved
inline const QString sansSerifFace = QStringLiteral("MS Sans Serif");     // Form1, Form2's buttons

QFont designFont(const QString& family, double points, bool bold = false, bool italic = false);

// A title, result or byline label: the digital face, bold italic, dark red,
// and at least one line of it high.
void styleDigital(QLabel* label, double points = 15.75);

// A result label keeps its designed top-left corner and grows right to its
// picture box's edge and down to `bottom` (twips), and its face is narrowed
// where need be (fitReportLines), so the three lines of every report fit; it
// stays transparent over the picture beneath.
void makeRoomForReport(QLabel* label, int bottom);

}  // namespace agelark
