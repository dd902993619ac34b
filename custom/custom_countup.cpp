#include "custom_countup.h"

#include "errors.h"

namespace agelark {

void cmdCustom_Click(FormWindow*) { throw UserError("The custom count-up is not built yet."); }
void Timer24_Timer(FormWindow*) { throw UserError("The custom count-up is not built yet."); }
void cmdReset_Click(FormWindow*) { throw UserError("Reset is not built yet."); }

}  // namespace agelark
