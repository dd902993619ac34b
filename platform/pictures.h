#pragma once
// Pictures beside the program, loaded afresh from disk each time.

#include <QPixmap>
#include <string_view>

class QLabel;

namespace agelark {

// Loads the picture `name` ("\ps2.jpg") from the application folder. Throws
// UserError naming the file and the folder when it is missing or unreadable.
// For a screen of `devicePixelRatio` above 1 the picture drawn at twice the
// size beside it ("ps2@2x.jpg") is taken when it is there and reads.
QPixmap loadPicture(std::string_view name, qreal devicePixelRatio = 1);

// Makes the loaded picture the picture of a picture box, for its screen.
void setPicture(QLabel* pictureBox, std::string_view name);

}  // namespace agelark
