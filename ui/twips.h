#pragma once
// Places and sizes are designed in twips; at 96 dots per inch 15 twips make a
// pixel (Qt scales for denser screens itself).

#include <QRect>

namespace agelark {

constexpr int twipsPerPixel = 15;

constexpr int px(int twips) { return (twips + twipsPerPixel / 2) / twipsPerPixel; }

// A control's place in its container, as designed: left, top, width, height in twips.
struct Twips {
    int left = 0, top = 0, width = 0, height = 0;
};

constexpr QRect twipsRect(const Twips& t) { return QRect(px(t.left), px(t.top), px(t.width), px(t.height)); }

}  // namespace agelark
