#pragma once
// The program's windows are single instances addressed by name. The first
// reference to a window that is not loaded creates it in its design state and
// runs its load handler; unloading stops its timers and destroys it; when no
// window is left loaded the program ends.

#include <QHash>
#include <QList>
#include <QPointer>
#include <QWidget>
#include <functional>

namespace agelark {

enum class UnloadReason {
    User = 0,  // the close box or the system menu
    Code = 1,  // the program's own unload
};

// A top-level window of the program. Closing it with its close box unloads it.
// Assistive tools see it as a window (a frame), not as a mere panel.
class FormWindow : public QWidget {
    Q_OBJECT
public:
    explicit FormWindow(const QString& name);

protected:
    void closeEvent(QCloseEvent* event) override;
};

class Windows {
public:
    // What a rebuild hands from the window it unloads to the one it loads in
    // its place: read from the old window, put into the new one.
    using CarryOver = std::function<std::function<void(FormWindow*)>(FormWindow* old)>;

    struct Definition {
        std::function<FormWindow*()> create;                  // the window in its design state
        std::function<void(FormWindow*)> load;                // load handler, may be empty
        std::function<void(FormWindow*, UnloadReason)> queryUnload;  // may be empty
        CarryOver keepUnsaved;  // what the user typed and has not saved; may be empty
    };

    void define(const QString& name, Definition definition);
    const Definition* definition(const QString& name) const;

    // The window, loaded first if it is not (its load handler runs then; a
    // failure there is reported and the window is still returned).
    FormWindow* get(const QString& name);
    // The window if it is loaded, else nullptr; never loads.
    FormWindow* loadedWindow(const QString& name) const;
    // Every loaded window, shown or hidden, in the order they were loaded.
    QList<FormWindow*> loaded() const;

    // Modeless; brings a shown window to the front, restored when it was
    // minimised. A failure of the load handler is reported once the window shows.
    FormWindow* show(const QString& name);
    void hide(const QString& name);
    void unload(const QString& name, UnloadReason reason = UnloadReason::Code);

    // Called when the last loaded window has been unloaded and, once control
    // is back in the event loop, none has been loaded again; by default it
    // quits the application.
    std::function<void()> onLastUnloaded;

private:
    // The window, loaded first if need be, after `then` has been done to it.
    FormWindow* load(const QString& name, const std::function<void(FormWindow*)>& then);
    void endWhenNoneLeft();
    bool endCheckPending_ = false;
    QHash<QString, Definition> definitions_;
    QList<QPointer<FormWindow>> loaded_;
};

Windows& windows();

// Puts `window` with the top-left corner of its frame on the top-left corner
// of `anchor`'s frame (Left and Top are outer positions).
void placeOnCornerOf(QWidget* window, const QWidget* anchor);

// Puts `window`'s frame centred over `anchor`'s frame.
void centreOver(QWidget* window, const QWidget* anchor);

}  // namespace agelark
