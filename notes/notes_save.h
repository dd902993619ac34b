#pragma once
// Saving the notes pad to "Notes.txt" beside the program, the "Working..."
// animation and the confirmation window.

namespace agelark {

class FormWindow;

void cmdSave_Click(FormWindow* form1);  // "Save Changes"
void Timer23_Timer(FormWindow* form1);  // one step of the save animation
void cmdOK_Click(FormWindow* saved);    // "OK" on the confirmation window

}  // namespace agelark
