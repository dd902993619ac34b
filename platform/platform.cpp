#include "platform/platform.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <csignal>

#include "engine/app_path.h"
#include "platform/accessible.h"
#include "platform/desktop_sound.h"
#include "platform/errors.h"
#include "platform/placement.h"

namespace agelark {

namespace {

class SystemClock : public Clock {
public:
    CivilDateTime now() const override {
        const QDateTime t = QDateTime::currentDateTime();
        const QDate d = t.date();
        const QTime h = t.time();
        return {d.year(), d.month(), d.day(), h.hour(), h.minute(), h.second()};
    }
};

// A message box centred over the window it concerns, frame over frame. Qt's
// own placement happens before the box is framed and lands it off centre. Its
// text is shown as it is: a name in it (a file's, a link's target) may hold
// what would read as markup.
class CentredMessageBox : public QMessageBox {
public:
    CentredMessageBox(Icon icon, const QString& text, QWidget* parent, StandardButtons buttons = QMessageBox::Ok)
        : QMessageBox(icon, applicationTitle, QString(), buttons, parent) {
        setTextFormat(Qt::PlainText);
        setText(text);
    }

protected:
    void showEvent(QShowEvent* event) override {
        QMessageBox::showEvent(event);  // gives the box its size
        if (parentWidget() && parentWidget()->isVisible()) centreOver(this, parentWidget()->window());
        // A box may open on its own, under keys being typed for something
        // else: for half a second it takes none, so a Space or an Enter meant
        // for the notes pad cannot close it unread.
        shown_.start();
        renewForAssistiveTools(this);  // its text, learnt while it was hidden, would stay hidden to them
        installEventFilter(this);
        for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        const bool key = event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease;
        if (key && shown_.isValid() && shown_.elapsed() < 500) return true;
        return QMessageBox::eventFilter(watched, event);
    }

private:
    QElapsedTimer shown_;
};

class SystemMessageBoxes : public MessageBoxes {
public:
    void information(QWidget* parent, const QString& text) override {
        CentredMessageBox(QMessageBox::Information, text, parent).exec();
    }
    void warning(QWidget* parent, const QString& text) override {
        CentredMessageBox(QMessageBox::Warning, text, parent).exec();
    }
    int question(QWidget* parent, const QString& text, const QStringList& actions) override {
        CentredMessageBox box(QMessageBox::Warning, text, parent, QMessageBox::NoButton);
        QList<QAbstractButton*> chosen;
        for (const QString& action : actions) chosen << box.addButton(action, QMessageBox::DestructiveRole);
        QPushButton* cancel = box.addButton(QMessageBox::Cancel);
        box.setDefaultButton(cancel);
        box.setEscapeButton(cancel);
        box.exec();
        return int(chosen.indexOf(box.clickedButton()));
    }
};

class SystemBeep : public Beep {
public:
    void play(const QString& soundEvent) override {
        if (!playThemeSound(soundEvent)) QApplication::beep();
    }
};

class SystemLauncher : public Launcher {
public:
    void start(const QString& program, const QStringList& arguments,
               std::function<void(int exitStatus)> failed) override {
        // Watched, not detached, to learn how it ended. Deliberately without a
        // parent and never deleted while it runs: destroying a QProcess kills
        // its program, and a browser it started must outlive this one.
        auto process = new QProcess;
        process->setProgram(program);
        process->setArguments(arguments);
        process->setStandardInputFile(QProcess::nullDevice());
        process->setProcessChannelMode(QProcess::ForwardedChannels);
        process->start();
        if (!process->waitForStarted()) {
            delete process;
            throw UserError(QStringLiteral("Could not start \"%1\". Is it installed?").arg(program));
        }
        QObject::connect(process, &QProcess::finished, process,
                         [process, failed = std::move(failed)](int exitCode, QProcess::ExitStatus status) {
                             process->deleteLater();
                             if (status == QProcess::CrashExit)
                                 failed(-1);
                             else if (exitCode != 0)
                                 failed(exitCode);
                         });
    }
};

Platform& current() {
    static Platform p{&systemClock(), &systemMessageBoxes(), &systemBeep(), &systemLauncher(), QString()};
    return p;
}

}  // namespace

Clock& systemClock() {
    static SystemClock c;
    return c;
}
MessageBoxes& systemMessageBoxes() {
    static SystemMessageBoxes m;
    return m;
}
Beep& systemBeep() {
    static SystemBeep b;
    return b;
}
Launcher& systemLauncher() {
    static SystemLauncher l;
    return l;
}

Platform& platform() {
    Platform& p = current();
    if (p.appFolder.isEmpty()) p.appFolder = QCoreApplication::applicationDirPath();
    return p;
}

void install(const Platform& replacement) {
    Platform& p = current();
    p = replacement;
    if (!p.clock) p.clock = &systemClock();
    if (!p.messages) p.messages = &systemMessageBoxes();
    if (!p.beep) p.beep = &systemBeep();
    if (!p.launcher) p.launcher = &systemLauncher();
}

namespace {

// Where the data lies, told by the title picture, which every start reads. A
// build folder that lost it still reads from itself, so its message names it.
QString dataFolder() {
    const QString beside = platform().appFolder;
    const QString installed = QDir::cleanPath(beside + QStringLiteral("/../share/agelark"));
    const auto holdsData = [](const QString& folder) { return QFileInfo::exists(folder + "/Agelark.jpg"); };
    return !holdsData(beside) && holdsData(installed) ? installed : beside;
}

}  // namespace

QString appFilePath(std::string_view name) { return QString::fromStdString(appPath(dataFolder().toStdString(), name)); }

bool runsInstalled() { return dataFolder() != platform().appFolder; }

void ignoreFileSizeSignal() { std::signal(SIGXFSZ, SIG_IGN); }

}  // namespace agelark
