#pragma once
// Pictures beside the program, loaded afresh from disk each time.

#include <QPixmap>
#include <string_view>

class QLabel;

namespace agelark {

// Loads the picture `name` ("\ps2.jpg") from the application folder. Throws
// UserError naming the file and the folder when it is missing or unreadable.
QPixmap loadPicture(std::string_view name);

// Makes the loaded picture the picture of a picture box.
void setPicture(QLabel* pictureBox, std::string_view name);

}  // namespace agelark
