#pragma once
// Small makers for the controls of the window designs: each control gets its
// name, its caption or text, its place in twips and an accessible name.

#include <QString>

class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QWidget;

namespace agelark {

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption, int left, int top, int width,
                        int height);
QLabel* makeLabel(QWidget* parent, const QString& name, const QString& caption, int left, int top, int width,
                  int height, const QString& accessibleName = {});
QLineEdit* makeTextBox(QWidget* parent, const QString& name, const QString& text, int left, int top, int width,
                       int height, const QString& accessibleName);
QPlainTextEdit* makeMultiLineTextBox(QWidget* parent, const QString& name, const QString& text, int left, int top,
                                     int width, int height, const QString& accessibleName);
// A picture box: shows its picture at its own size, clipped, from the top-left corner.
QLabel* makePictureBox(QWidget* parent, const QString& name, int left, int top, int width, int height,
                       const QString& accessibleName);
// A line from (x1, y1) to (x2, y2); only vertical and horizontal lines occur.
QFrame* makeLine(QWidget* parent, const QString& name, int x1, int y1, int x2, int y2);
QGroupBox* makeFrame(QWidget* parent, const QString& name, const QString& caption, int left, int top, int width,
                     int height);
QProgressBar* makeProgressBar(QWidget* parent, const QString& name, int left, int top, int width, int height);

// Draws a text box's text and background in the button-face colour, so what it holds does not show.
void hideTextInButtonFace(QLineEdit* box);

// The face of the result, title and byline labels, requested by name.
inline const QString digitalFace = QStringLiteral("Let's go Digital");

}  // namespace agelark
