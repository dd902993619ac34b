#include "rebuild.h"

#include "errors.h"

namespace agelark {

void rebuildMainWindow(const Rebuild&) { throw UserError("The rebuild is not built yet."); }

}  // namespace agelark
