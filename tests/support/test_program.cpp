#include "test_program.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTest>

#include "app.h"
#include "errors.h"
#include "handlers.h"

namespace agelark::testing {

void FakeClock::advanceSeconds(long long seconds) {
    const std::int64_t t = linearSeconds(dateSerial(now_)) + seconds;
    now_ = civilFromSerial(double(t / 86400) + double(t % 86400) / 86400.0);
}

void RecordingMessageBoxes::record(const QString& kind, QWidget* parent, const QString& text) {
    shown.append({kind, text, parent ? parent->objectName() : QString()});
    if (whileOpen) whileOpen(shown.last());
}
void RecordingMessageBoxes::information(QWidget* parent, const QString& text) {
    record("information", parent, text);
}
void RecordingMessageBoxes::warning(QWidget* parent, const QString& text) { record("warning", parent, text); }

void RecordingLauncher::startDetached(const QString& program, const QStringList& arguments) {
    if (fail) throw UserError(QStringLiteral("Could not start \"%1\". Is it installed?").arg(program));
    started.append(QStringList{program} + arguments);
}

TestProgram::TestProgram() {
    const QDir built(QStringLiteral(AGELARK_BUILT_APP_DIR));
    for (const QString& name : built.entryList({"*.jpg", "*.png"}, QDir::Files))
        QFile::copy(built.filePath(name), folder_.filePath(name));
    QFile notes(folder_.filePath("Notes.txt"));
    if (notes.open(QIODevice::WriteOnly)) notes.write("Notes\r\n");
    install(Platform{&clock, &messages, &beep, &launcher, folder_.path()});
    defineWindows();
    windows().onLastUnloaded = [this] { ++programEnded; };
}

TestProgram::~TestProgram() {
    for (FormWindow* w : windows().loaded()) windows().unload(w->objectName(), UnloadReason::Code);
    processEvents();
    windows().onLastUnloaded = nullptr;
    install(Platform{});
}

void TestProgram::start() { startProgram(); }

QString TestProgram::path(const QString& fileName) const { return folder_.filePath(fileName); }

FormWindow* TestProgram::window(const QString& name) const { return windows().loadedWindow(name); }

void TestProgram::click(const QString& window, const QString& button) {
    auto b = find<QAbstractButton>(window, button);
    if (!b) QFAIL(qPrintable(QStringLiteral("no button %1 on %2").arg(button, window)));
    b->click();
}

void TestProgram::tick(const QString& window, const QString& timer) { invokeHandler(window, timer + "_Timer"); }

void TestProgram::processEvents() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

}  // namespace agelark::testing
