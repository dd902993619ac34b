#include "notes/pad_state.h"

#include <QPlainTextEdit>

#include "notes/notes_pad.h"
#include "platform/windows.h"

namespace agelark {

PadState& padState(FormWindow* form1) {
    auto pad = notesPad(form1);
    static const QString name = QStringLiteral("agelarkPadState");
    if (auto state = pad->findChild<PadState*>(name, Qt::FindDirectChildrenOnly)) return *state;
    auto state = new PadState(pad);
    state->setObjectName(name);
    return *state;
}

}  // namespace agelark
