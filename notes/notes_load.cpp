#include "notes_load.h"

namespace agelark {

void WebBrowser1_DocumentComplete(FormWindow*, QObject*, const QString&) {}
void keepPadText(FormWindow*, const QString&) {}

}  // namespace agelark
