#pragma once
// Saving the notes pad (see notesToWrite). A save never writes over text the pad did not load:
// when the file was changed by another program or another copy since, or
// could not be read at the start, the user is asked first.

namespace agelark {

class NotesPad;

// "Save Changes": the pad's text is written on the notes thread; the pad says
// `saved` once the file is complete on disk. A second Save while one is being
// written is refused. The first save that goes to the user's own copy,
// because the file beside the program is not theirs, says so.
void saveNotes(NotesPad* pad);
bool notesSaveUnderWay();

}  // namespace agelark
