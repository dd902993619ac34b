#include "notes_save.h"

#include "errors.h"

namespace agelark {

void cmdSave_Click(FormWindow*) { throw UserError("Saving the notes is not built yet."); }
void Timer23_Timer(FormWindow*) {}
void cmdOK_Click(FormWindow*) {}

}  // namespace agelark
