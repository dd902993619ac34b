#pragma once
// Where a window opens over another: by their frames, as the window manager
// draws them, from the first show on.

class QWidget;

namespace agelark {

// Puts `window` with the top-left corner of its frame on the top-left corner
// of `anchor`'s frame (Left and Top are outer positions).
void placeOnCornerOf(QWidget* window, const QWidget* anchor);

// Puts `window`'s frame centred over `anchor`'s frame.
void centreOver(QWidget* window, const QWidget* anchor);

}  // namespace agelark
