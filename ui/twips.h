#pragma once
// Places and sizes are designed in twips; at 96 dots per inch 15 twips make a
// pixel (Qt scales for denser screens itself).

#include <QRect>

namespace agelark {

constexpr int twipsPerPixel = 15;

constexpr int px(int twips) { return (twips + twipsPerPixel / 2) / twipsPerPixel; }

constexpr QRect twipsRect(int left, int top, int width, int height) {
    return QRect(px(left), px(top), px(width), px(height));
}

}  // namespace agelark
