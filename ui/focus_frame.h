#pragma once
// The keyboard focus, seen.

namespace agelark {

// The application's style, with a frame around the button that has the
// keyboard focus drawn clearly: two pixels in the highlight colour, darkened
// to stand out against the button face, inside the button's edge. The
// system's own focus sign is a faint line, drawn only after keyboard use in
// some styles. Idempotent.
void showFocusClearly();

}  // namespace agelark
