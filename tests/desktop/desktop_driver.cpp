#include "tests/desktop/desktop_driver.h"

#include "tests/desktop/atspi_calls.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

namespace agelark::desktop {

using detail::Error;
using detail::fail;
using detail::hasState;
using detail::take;

QString detail::run(const QString& program, const QStringList& arguments) {
    QProcess p;
    p.start(program, arguments);
    if (!p.waitForFinished(10000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) return {};
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

namespace {

using detail::hex;
using detail::run;

void connectOnce() {
    static const bool connected = [] {
        atspi_init();
        return true;
    }();
    (void)connected;
}

}  // namespace

int patience(int milliseconds) {
#ifdef AGELARK_DESKTOP_SANITIZED
    return milliseconds * 3;
#else
    return milliseconds;
#endif
}

bool waitUntil(const std::function<bool()>& condition, int milliseconds) {
    QDeadlineTimer deadline(qMax(0, milliseconds));  // a negative time would mean forever
    while (!condition()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QTest::qSleep(20);
    }
    return true;
}

// --- Accessible ---------------------------------------------------------------------------

Accessible::Accessible(AtspiAccessible* object) : object_(object) {}
Accessible::Accessible(const Accessible& other) : object_(other.object_) {
    if (object_) g_object_ref(object_);
}
Accessible& Accessible::operator=(Accessible other) {
    std::swap(object_, other.object_);
    return *this;
}
Accessible::~Accessible() {
    if (object_) g_object_unref(object_);
}

QString Accessible::name() const {
    if (!object_) return {};
    Error e;
    return take(atspi_accessible_get_name(object_, &e));
}

QString Accessible::description() const {
    if (!object_) return {};
    Error e;
    return take(atspi_accessible_get_description(object_, &e));
}

QString Accessible::roleName() const {
    if (!object_) return {};
    Error e;
    return take(atspi_accessible_get_role_name(object_, &e));
}


qint64 Accessible::processId() const {
    if (!object_) return 0;
    Error e;
    const guint pid = atspi_accessible_get_process_id(object_, &e);
    return e ? 0 : qint64(pid);
}

bool Accessible::showing() const { return hasState(object_, ATSPI_STATE_SHOWING); }

bool Accessible::exists() const {
    if (!object_) return false;
    // A destroyed object answers with an error, or (Qt) as defunct.
    Error e;
    atspi_accessible_get_role(object_, &e);
    return !e && !hasState(object_, ATSPI_STATE_DEFUNCT);
}

bool Accessible::hasText() const {
    if (!object_) return false;
    AtspiText* text = atspi_accessible_get_text_iface(object_);
    if (text) g_object_unref(text);
    return text != nullptr;
}

QString Accessible::text() const {
    if (!object_) return {};
    AtspiText* text = atspi_accessible_get_text_iface(object_);
    if (!text) return {};
    Error e;
    const gint length = atspi_text_get_character_count(text, &e);
    QString result = e ? QString() : take(atspi_text_get_text(text, 0, length, &e));
    g_object_unref(text);
    return result;
}

int Accessible::characterCount() const {
    AtspiText* text = object_ ? atspi_accessible_get_text_iface(object_) : nullptr;
    if (!text) return -1;
    Error e;
    const gint count = atspi_text_get_character_count(text, &e);
    g_object_unref(text);
    return e ? -1 : count;
}

QString Accessible::text(int from, int to) const {
    AtspiText* text = object_ ? atspi_accessible_get_text_iface(object_) : nullptr;
    if (!text) return {};
    Error e;
    QString result = take(atspi_text_get_text(text, from, to, &e));
    g_object_unref(text);
    return e ? QString() : result;
}

QString Accessible::spoken() const {
    QStringList parts;
    for (const QString& part : {name(), description(), text()})
        if (!part.isEmpty()) parts.append(part);
    return parts.join(u'\n');
}

bool Accessible::press() const {
    if (!object_) return fail(QStringLiteral("nothing to press"));
    AtspiAction* action = atspi_accessible_get_action_iface(object_);
    if (!action) return fail(QStringLiteral("'%1' has no actions").arg(name()));
    Error e;
    const gint count = atspi_action_get_n_actions(action, &e);
    bool pressed = false;
    for (gint i = 0; i < count && !pressed; ++i) {
        if (take(atspi_action_get_action_name(action, i, &e)).compare(QLatin1String("Press"), Qt::CaseInsensitive))
            continue;
        pressed = atspi_action_do_action(action, i, &e) && !e;
    }
    g_object_unref(action);
    return pressed || fail(QStringLiteral("could not press '%1' %2").arg(name(), e.message()));
}

bool Accessible::type(const QString& text) const {
    AtspiEditableText* editable = object_ ? atspi_accessible_get_editable_text_iface(object_) : nullptr;
    if (!editable) return fail(QStringLiteral("'%1' takes no typed text").arg(name()));
    const QByteArray utf8 = text.toUtf8();
    Error e;
    AtspiText* plain = atspi_accessible_get_text_iface(object_);
    const gint end = plain ? atspi_text_get_character_count(plain, &e) : 0;
    if (plain) g_object_unref(plain);
    const bool typed = !e && atspi_editable_text_insert_text(editable, end, utf8.constData(), utf8.size(), &e) && !e;
    g_object_unref(editable);
    return typed || fail(QStringLiteral("could not type into '%1' %2").arg(name(), e.message()));
}

QList<Accessible> Accessible::children() const {
    QList<Accessible> result;
    if (!object_) return result;
    Error e;
    const gint count = atspi_accessible_get_child_count(object_, &e);
    for (gint i = 0; i < count && !e; ++i)
        if (AtspiAccessible* child = atspi_accessible_get_child_at_index(object_, i, &e)) result.append(Accessible(child));
    return result;
}

Accessible Accessible::find(const QString& role, const QString& name) const {
    for (const Accessible& child : children()) {
        if (child.roleName() == role && (name.isEmpty() || child.name() == name || child.description() == name))
            return child;
        if (Accessible found = child.find(role, name)) return found;
    }
    return {};
}

std::optional<qint64> countIn(const QString& text) {
    static const QRegularExpression count(QStringLiteral(R"((?:(\d+) Days, )?(\d\d):(\d\d):(\d\d))"));
    const auto m = count.match(text);
    if (!m.hasMatch()) return std::nullopt;
    return m.captured(1).toLongLong() * 86400 + m.captured(2).toLongLong() * 3600 + m.captured(3).toLongLong() * 60 +
           m.captured(4).toLongLong();
}

bool readsCountSince(const Accessible& result, const QDateTime& then, int milliseconds) {
    QString heard;
    const bool counts = waitUntil(
        [&] {
            heard = result.spoken();
            const auto seconds = countIn(heard);
            return seconds && std::abs(*seconds - then.secsTo(QDateTime::currentDateTimeUtc())) <= 2;
        },
        milliseconds);
    return counts || fail(QStringLiteral("a screen reader reads '%1' (%2 text interface) where it should hear the "
                                         "count since %3")
                              .arg(heard, result.hasText() ? "with a" : "no", then.toString(Qt::ISODate)));
}

// --- The window manager --------------------------------------------------------------------

QList<ManagedWindow> managedWindows() {
    // wmctrl -lp: "0x00200006  0 11755  host Title with spaces"
    static const QRegularExpression line(QStringLiteral(R"(^(0x[0-9a-f]+)\s+-?\d+\s+(\d+)\s+\S+ (.*)$)"));
    QList<ManagedWindow> result;
    for (const QString& row : run("wmctrl", {"-lp"}).split(u'\n', Qt::SkipEmptyParts)) {
        const auto m = line.match(row);
        if (m.hasMatch()) result.append({m.captured(1).toULongLong(nullptr, 16), m.captured(2).toLongLong(), m.captured(3)});
    }
    return result;
}

std::optional<Frame> frameOf(quint64 windowId) {
    const QString info = run("xwininfo", {"-id", hex(windowId)});
    const QString extents = run("xprop", {"-id", hex(windowId), "_NET_FRAME_EXTENTS"});
    auto number = [&](const char* label) {
        const auto m = QRegularExpression(QStringLiteral("%1:\\s+(-?\\d+)").arg(label)).match(info);
        return m.hasMatch() ? std::optional<int>(m.captured(1).toInt()) : std::nullopt;
    };
    // "_NET_FRAME_EXTENTS(CARDINAL) = 1, 1, 20, 1": left, right, top, bottom
    const auto m = QRegularExpression(QStringLiteral(R"(=\s*(\d+),\s*(\d+),\s*(\d+),\s*(\d+))")).match(extents);
    const auto x = number("Absolute upper-left X"), y = number("Absolute upper-left Y");
    const auto w = number("Width"), h = number("Height");
    if (!m.hasMatch() || !x || !y || !w || !h) return std::nullopt;
    return Frame{QRect(*x, *y, *w, *h), m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt(),
                 m.captured(4).toInt()};
}

bool closeThroughWindowManager(quint64 windowId) {
    return QProcess::execute("wmctrl", {"-i", "-c", hex(windowId)}) == 0;
}

bool moveThroughWindowManager(quint64 windowId, QPoint frameTopLeft) {
    // Gravity 1 (north-west) places the frame's corner; the window's own gravity
    // (0), which Qt sets to static, would place the client area's corner.
    const QString geometry = QStringLiteral("1,%1,%2,-1,-1").arg(frameTopLeft.x()).arg(frameTopLeft.y());
    return QProcess::execute("wmctrl", {"-i", "-r", hex(windowId), "-e", geometry}) == 0;
}

// --- Program ----------------------------------------------------------------------------

Program::Program() : environment(QProcessEnvironment::systemEnvironment()) {
    connectOnce();
    // Everything the build put beside the program: it reads its pictures, icon and notes from there.
    const QDir built(QStringLiteral(AGELARK_BUILT_APP_DIR));
    for (const QString& name : built.entryList(QDir::Files | QDir::Hidden))
        QFile::copy(built.filePath(name), file(name));
    environment.insert("QT_QPA_PLATFORM", "xcb");
    // Qt offers its tree to assistive technology only when asked to, or when a screen reader runs.
    environment.insert("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
    environment.insert("TZ", "UTC");  // one fixed zone: no summer-time shift inside a count
    // A per-user data folder of its own, where a copy keeps its own notes when
    // the ones beside it may not be written; never the real user's.
    environment.insert("XDG_DATA_HOME", file("user-data"));
    executable = file("agelark");
#ifdef AGELARK_LSAN_SUPPRESSIONS
    environment.insert("LSAN_OPTIONS", QStringLiteral("suppressions=" AGELARK_LSAN_SUPPRESSIONS));
#endif
}

Program::~Program() {
    if (running()) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

QString Program::file(const QString& name) const { return folder_.filePath(name); }

void Program::fakeClock(const QString& moment) {
    environment.insert("LD_PRELOAD", "/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1");
    environment.insert("FAKETIME", "@" + moment);
    environment.insert("FAKETIME_DONT_FAKE_MONOTONIC", "1");
    // AddressSanitizer wants to be the first library loaded; the preload comes before it.
    const QString asan = environment.value("ASAN_OPTIONS");
    environment.insert("ASAN_OPTIONS", (asan.isEmpty() ? "" : asan + ":") + "verify_asan_link_order=0");
}

void Program::emptyPath() {
    QDir(folder_.path()).mkdir("no-programs");
    environment.insert("PATH", file("no-programs"));
}

void Program::onWayland() {
    wayland_ = true;
    environment.insert("QT_QPA_PLATFORM", "wayland");
    environment.remove("DISPLAY");
}

bool Program::start() {
    process_.setProcessEnvironment(environment);
    process_.setWorkingDirectory(folder_.path());
    process_.setStandardOutputFile(QProcess::nullDevice());
    process_.setStandardErrorFile(file("stderr.txt"));
    process_.start(executable, {});
    if (!process_.waitForStarted(10000)) return fail("the program did not start: " + process_.errorString());
    const qint64 pid = process_.processId();

    // The program joins the accessibility tree as an application of its own.
    const bool registered = waitUntil(
        [&] {
            if (!running()) return true;
            for (const Accessible& app : Accessible(atspi_get_desktop(0)).children())
                if (app.processId() == pid) {
                    app_ = app;
                    return true;
                }
            return false;
        },
        patience(15000));
    if (!running()) return fail("the program ended at start: " + errorOutput());
    if (!registered || !app_) return fail("the program never showed up on the accessibility bus");
    if (!window("Agelark v2.5", patience(10000))) return false;
    if (wayland_) return true;
    // Managed and framed: the window manager has put its frame around the window.
    return waitUntil([&] { return frame("Agelark v2.5").has_value(); }, patience(10000)) ||
           fail("the window manager never framed the main window");
}

Accessible Program::window(const QString& title, int milliseconds) const {
    Accessible found;
    waitUntil(
        [&] {
            for (const Accessible& w : app_.children())
                if (w.name() == title && w.showing()) {
                    found = w;
                    return true;
                }
            return false;
        },
        milliseconds);
    if (!found) fail(QStringLiteral("no window '%1' shown within %2 ms").arg(title).arg(milliseconds));
    return found;
}

bool Program::windowGone(const QString& title, int milliseconds) const {
    const bool gone = waitUntil(
        [&] {
            for (const Accessible& w : app_.children())
                if (w.name() == title && w.showing()) return false;
            return true;
        },
        milliseconds);
    return gone || fail(QStringLiteral("the window '%1' is still shown after %2 ms").arg(title).arg(milliseconds));
}

Accessible Program::control(const Accessible& within, const QString& role, const QString& name,
                            int milliseconds) const {
    Accessible found;
    waitUntil(
        [&] {
            found = within.find(role, name);
            return found && found.showing();
        },
        milliseconds);
    if (!found || !found.showing())
        fail(QStringLiteral("no %1 '%2' showing in '%3'").arg(role, name, within.name()));
    return found.showing() ? found : Accessible();
}

bool Program::showPage(const Accessible& main, const QString& page) const {
    return control(main, "page tab", page).press() && control(main, "filler", page);
}

namespace {
// The message boxes an application shows, with their messages. A box is a
// top-level window under the program's title; its message is the name of its
// label, which carries no accessible name of its own (the icon's label has none).
QList<std::pair<Accessible, QString>> shownBoxes(const Accessible& application) {
    QList<std::pair<Accessible, QString>> boxes;
    for (const Accessible& w : application.children()) {
        if (w.name() != QLatin1String("Agelark") || !w.showing()) continue;
        for (const Accessible& child : w.children())
            if (child.roleName() == QLatin1String("label") && !child.name().isEmpty())
                boxes.append({w, child.name()});
    }
    return boxes;
}
}  // namespace

Accessible Program::messageBoxSaying(const QString& phrase, int milliseconds) const {
    Accessible found;
    waitUntil(
        [&] {
            for (const auto& box : shownBoxes(app_))
                if (box.second.contains(phrase)) found = box.first;
            return bool(found);
        },
        milliseconds);
    if (!found)
        fail(QStringLiteral("no box saying '%1' within %2 ms; boxes shown: '%3'")
                 .arg(phrase)
                 .arg(milliseconds)
                 .arg(boxesShown().join("', '")));
    return found;
}

QStringList Program::boxesShown() const {
    QStringList texts;
    for (const auto& box : shownBoxes(app_)) texts.append(box.second);
    return texts;
}

Accessible Program::messageBox(const QString& text, int milliseconds) const {
    Accessible found;
    waitUntil(
        [&] {
            for (const auto& box : shownBoxes(app_))
                if (box.second == text) found = box.first;
            return bool(found);
        },
        milliseconds);
    if (!found)
        fail(QStringLiteral("no box saying '%1' within %2 ms; boxes shown: '%3'")
                 .arg(text)
                 .arg(milliseconds)
                 .arg(boxesShown().join("', '")));
    return found;
}

bool Program::pressOk(const Accessible& box) const {
    const Accessible ok = box.find("push button", "OK");
    if (!ok) return fail("the box has no OK button");
    if (!ok.press()) return false;
    return waitUntil([&] { return !box.exists() || !box.showing(); }, patience(5000)) ||
           fail("the box stayed open after its OK was pressed");
}

std::optional<quint64> Program::windowId(const QString& title) const {
    for (const ManagedWindow& w : managedWindows())
        if (w.pid == process_.processId() && w.title == title) return w.id;
    return std::nullopt;
}

std::optional<Frame> Program::frame(const QString& title) const {
    const auto id = windowId(title);
    return id ? frameOf(*id) : std::nullopt;
}

std::optional<Frame> Program::settledFrame(const QString& title, int milliseconds) const {
    // Settled: the same frame read twice, a quarter of a second apart.
    std::optional<Frame> last;
    const bool settled = waitUntil(
        [&] {
            const auto now = frame(title);
            const bool same = now && last && now->client == last->client && now->left == last->left &&
                              now->top == last->top;
            last = now;
            if (!same) QTest::qWait(250);
            return same;
        },
        milliseconds);
    if (!settled) fail(QStringLiteral("the window '%1' was never framed and still").arg(title));
    return settled ? last : std::nullopt;
}

bool Program::closeWindow(const QString& title) const {
    // A window just shown is on the accessibility bus before the window manager lists it.
    std::optional<quint64> id;
    waitUntil([&] { return (id = windowId(title)).has_value(); }, patience(3000));
    if (!id) return fail(QStringLiteral("the window manager has no window '%1' of the program").arg(title));
    return closeThroughWindowManager(*id) || fail(QStringLiteral("wmctrl could not close '%1'").arg(title));
}

bool Program::windowReplaced(const QString& title, quint64 oldId, int milliseconds) const {
    return waitUntil(
               [&] {
                   const auto id = windowId(title);
                   return id && *id != oldId;
               },
               milliseconds) ||
           fail(QStringLiteral("the window '%1' was not replaced by a new one").arg(title));
}

QString Program::errorOutput() const {
    QFile f(file("stderr.txt"));
    return f.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(f.readAll()) : QString();
}

namespace {
QString howItEnded(const QProcess& process) {
    return process.exitStatus() == QProcess::CrashExit ? QStringLiteral("was ended by signal %1").arg(process.exitCode())
                                                      : QStringLiteral("ended with status %1").arg(process.exitCode());
}
}  // namespace

bool Program::alive() {
    QCoreApplication::processEvents();
    return running() || fail(QStringLiteral("the program %1:\n%2").arg(howItEnded(process_), errorOutput()));
}

bool Program::endedNormally(int milliseconds) {
    if (running() && !process_.waitForFinished(milliseconds)) return fail("the program did not end");
    const QString errors = errorOutput();
    if (process_.exitStatus() == QProcess::CrashExit || process_.exitCode() != 0)
        return fail(QStringLiteral("the program %1:\n%2").arg(howItEnded(process_), errors));
    for (const char* report : {"AddressSanitizer", "LeakSanitizer", "runtime error:"})
        if (errors.contains(QLatin1String(report)))
            return fail(QStringLiteral("the sanitizers reported a fault:\n%1").arg(errors));
    return true;
}

}  // namespace agelark::desktop
