#pragma once
// Sounds of the desktop's sound theme, played by the desktop's sound service.

#include <QString>

namespace agelark {

// Asks the sound service to play the theme's sound for `soundEvent`
// ("dialog-warning"); returns at once. False when no sound service took it:
// none runs, or the theme has no such sound.
bool playThemeSound(const QString& soundEvent);

}  // namespace agelark
