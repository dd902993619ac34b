#pragma once
// The program as a whole: its three windows defined by name, and start-up.

namespace agelark {

// Defines Form1, Form2 and Saved with their designs, load handlers, close
// handling and event handlers. Safe to call more than once.
void defineWindows();

// Loads and shows the main window, as the program's start does.
void startProgram();

}  // namespace agelark
