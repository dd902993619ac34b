#include "tests/support/test_program.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QDir>
#include <QThread>
#include <cmath>

#include "notes/notes_save.h"
#include "ui/console_page.h"
#include "ui/handheld_window.h"
#include "ui/report_label.h"

namespace agelark::testing {

double contrast(QColor a, QColor b) {
    const auto luminance = [](QColor c) {
        const auto linear = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

int runningTimers(const QObject* window) {
    int running = 0;
    for (const QTimer* t : window->findChildren<QTimer*>()) running += t->isActive();
    for (const Beat* beat : window->findChildren<Beat*>()) running += beat->fast();
    return running;
}

QString textOf(const QWidget* control) {
    if (auto label = qobject_cast<const QLabel*>(control)) return label->text();
    if (auto box = qobject_cast<const QLineEdit*>(control)) return box->text();
    if (auto report = qobject_cast<const ReportLabel*>(control)) return report->text();
    return QStringLiteral("<no label or box %1>").arg(control ? control->objectName() : QString());
}

void FakeClock::advanceSeconds(long long seconds) {
    const std::int64_t t = linearSeconds(dateSerial(moment)) + seconds;
    moment = civilFromSerial(double(t / 86400) + double(t % 86400) / 86400.0);
}

QStringList RecordingMessageBoxes::told() const {
    QStringList result;
    for (const Shown& box : shown) result << box.kind + ": " + box.text;
    return result;
}

void RecordingMessageBoxes::record(const QString& kind, QWidget* parent, const QString& text) {
    shown.append({kind, text, parent ? parent->objectName() : QString()});
    QPointer<QDialog> dialog = new QDialog(parent);
    dialog->setWindowTitle(applicationTitle);
    // OK comes after what whileOpen posts, as a person is slower than the program.
    QTimer::singleShot(0, dialog, [this, box = shown.last(), dialog] {
        if (whileOpen) whileOpen(box);
        if (dialog) QMetaObject::invokeMethod(dialog, &QDialog::accept, Qt::QueuedConnection);
    });
    dialog->exec();
    if (!dialog) QTest::qFail(qPrintable("the message box \"" + text + "\" was destroyed while open"), __FILE__, __LINE__);
    delete dialog;
}

TestProgram::TestProgram(const QString& appFolder) : appFolder_(appFolder.isEmpty() ? folder_.path() : appFolder) {
    if (appFolder.isEmpty()) {
        const QDir built(QStringLiteral(AGELARK_BUILT_APP_DIR));
        for (const QString& name : built.entryList({"*.jpg", "*.png"}, QDir::Files))
            QFile::copy(built.filePath(name), path(name));
        if (QFile notes(path("Notes.txt")); notes.open(QIODevice::WriteOnly)) notes.write("Notes\r\n");
    }
    install(Platform{&clock, &messages, &beep, &launcher, appFolder_});
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));  // whatever the machine's language
    oldDataHome_ = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(userData_.path()));
}

TestProgram::~TestProgram() {
    for (const char* name : {"Form1", "Form2", "Saved"}) delete window(name);
    processEvents();
    install(Platform{});
    oldDataHome_.isNull() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", oldDataHome_);
}

QString TestProgram::path(const QString& fileName) const { return QDir(appFolder_).filePath(fileName); }

QWidget* TestProgram::window(const QString& name) const {
    if (name == "Form1") return mainWindow();
    return name == "Form2" ? static_cast<QWidget*>(handheldWindow()) : savedWindow();
}

void TestProgram::click(const QString& window, const QString& button) {
    auto b = find<QAbstractButton>(window, button);
    if (!b) QFAIL(qPrintable(QStringLiteral("no button %1 on %2").arg(button, window)));
    b->click();
}

void TestProgram::tick(const QString& window) {
    if (window == "Form1") return main()->tick();
    if (!handheldWindow()) QFAIL("the handheld window is not open");
    handheldWindow()->tick();
}

QStringList TestProgram::counting(const QString& window) const {
    std::vector<const ConsolePage*> pages;
    if (window == "Form2" && handheldWindow()) pages.push_back(&handheldWindow()->page());
    if (window == "Form1")
        for (const Page page : {Page::Atari, Page::Nintendo, Page::Sega, Page::Sony, Page::Microsoft})
            pages.push_back(&main()->page(page));
    QStringList names;
    for (const ConsolePage* page : pages)
        if (page->counting()) names << qtext(page->counting()->button);
    if (window == "Form1" && main()->countUp().armed()) names << "count-up";
    return names;
}

void TestProgram::openHandheld(const QString& console) {
    click("Form1", "cmdHandheld");
    if (!console.isEmpty()) click("Form2", console);
}

void TestProgram::processEvents() {
    // The notes are read and written on a thread of their own: what it sends back comes through the event loop.
    const auto busy = [] {
        return notesSaveUnderWay() || (NotesPad::current() && NotesPad::current()->state().phase == PadPhase::Loading);
    };
    for (QDeadlineTimer deadline(30000);; QThread::msleep(2)) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
        if (!busy() || deadline.hasExpired()) return;
    }
}

}  // namespace agelark::testing
