#pragma once
// Saving the notes pad (see notesToWrite), the "Working..." animation and the
// confirmation window. A save never writes over text the pad did not load:
// when the file was changed by another program or another copy since, or
// could not be read at the start, the user is asked first.

namespace agelark {

class FormWindow;

// "Save Changes": the pad's text is written on the notes thread; the
// animation starts once the file is complete on disk. A second Save while one
// is being written is refused. The first save that goes to the user's own
// copy, because the file beside the program is not theirs, says so.
void cmdSave_Click(FormWindow* form1);
// Whether a save is being written now.
bool notesSaveUnderWay();
void Timer23_Timer(FormWindow* form1);  // one step of the save animation
void cmdOK_Click(FormWindow* saved);    // "OK" on the confirmation window

}  // namespace agelark
