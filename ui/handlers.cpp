#include "ui/handlers.h"

#include <QAbstractButton>
#include <algorithm>
#include <functional>

#include "custom/custom_countup.h"
#include "engine/catalogue.h"
#include "link/visit.h"
#include "notes/notes_save.h"
#include "platform/controls.h"
#include "platform/errors.h"
#include "platform/timers.h"
#include "platform/windows.h"
#include "ui/clock.h"
#include "ui/counters.h"
#include "ui/handheld.h"

namespace agelark {

namespace {

using Handler = std::function<void(FormWindow*)>;

// A member of a control array is named after the array, "_" and its index
// ("cmdQAV3_0"). Told without a regular expression: compiling one at start-up
// costs more than the whole of this check, and brings the regex engine in.
bool isArrayMember(const QString& name, const QString& array) {
    if (name.size() <= array.size() + 1 || !name.startsWith(array) || name.at(array.size()) != QLatin1Char('_'))
        return false;
    return std::all_of(name.begin() + array.size() + 1, name.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// Connects handlers to the controls of one window.
class Wiring {
public:
    explicit Wiring(FormWindow* window) : window_(window) {}

    void click(const QString& button, Handler handler) {
        connectClick(control<QAbstractButton>(window_, button), std::move(handler));
    }
    // Every member of a control array ("cmdQAV3_0", "cmdQAV3_1", ...) shares the array's handler.
    void clickArray(const QString& array, const Handler& handler) {
        QList<QAbstractButton*> members = window_->findChildren<QAbstractButton*>();
        members.removeIf([&](const QAbstractButton* b) { return !isArrayMember(b->objectName(), array); });
        if (members.isEmpty())
            throw UserError(QStringLiteral("The window %1 has no control array %2.").arg(window_->objectName(), array));
        for (QAbstractButton* button : members) connectClick(button, handler);
    }
    void tick(const QString& timer, Handler handler) {
        Timer* t = control<Timer>(window_, timer);
        t->onTick(window_, [w = window_, h = std::move(handler)] { h(w); });
    }
    void consoles(WindowId window) {
        for (const ConsoleEntry& entry : catalogue()) {
            if (entry.window != window) continue;
            click(qtext(entry.button), [&entry](FormWindow* w) { consoleClick(w, entry); });
            tick(qtext(entry.timer), [&entry](FormWindow* w) { consoleTick(w, entry); });
        }
    }

private:
    void connectClick(QAbstractButton* button, Handler handler) {
        QObject::connect(button, &QAbstractButton::clicked, window_,
                         [w = window_, h = std::move(handler)] { runUserHandler(w, [&] { h(w); }); });
    }

    FormWindow* window_;
};

void wireForm1(Wiring& on) {
    on.consoles(WindowId::Form1);
    on.tick("Timer22", Timer22_Timer);
    on.click("cmdHandheld", [](FormWindow*) { cmdHandheld_Click(); });
    on.click("cmdCustom", cmdCustom_Click);
    on.tick("Timer24", Timer24_Timer);
    on.click("cmdReset", cmdReset_Click);
    on.click("cmdSave", cmdSave_Click);
    on.tick("Timer23", Timer23_Timer);
    // The Visit buttons of the five console pages form three control arrays.
    for (const char* array : {"cmdQAV3", "cmdQAV4", "cmdQAV5"}) on.clickArray(array, visitSite);
}

void wireForm2(Wiring& on) {
    on.consoles(WindowId::Form2);
    on.click("cmdqAv", visitSite);
}

void wireSaved(Wiring& on) { on.click("cmdOK", cmdOK_Click); }

}  // namespace

void wireHandlers(FormWindow* window) {
    Wiring on(window);
    const QString windowName = window->objectName();
    if (windowName == "Form1")
        wireForm1(on);
    else if (windowName == "Form2")
        wireForm2(on);
    else if (windowName == "Saved")
        wireSaved(on);
    else
        throw UserError(QStringLiteral("The program has no handlers for a window named %1.").arg(windowName));
}

}  // namespace agelark
