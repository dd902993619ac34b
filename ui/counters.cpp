#include "counters.h"

#include "errors.h"

namespace agelark {

void consoleClick(FormWindow*, const ConsoleEntry&) { throw UserError("The console counters are not built yet."); }
void consoleTick(FormWindow*, const ConsoleEntry&) {}

}  // namespace agelark
