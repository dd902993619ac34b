#include "platform.h"

#include <QApplication>
#include <QDateTime>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <csignal>

#include "app_path.h"
#include "errors.h"

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

class SystemMessageBoxes : public MessageBoxes {
public:
    void information(QWidget* parent, const QString& text) override {
        QMessageBox::information(parent, applicationTitle, text);
    }
    void warning(QWidget* parent, const QString& text) override {
        QMessageBox::warning(parent, applicationTitle, text);
    }
    bool question(QWidget* parent, const QString& text, const QString& action) override {
        QMessageBox box(QMessageBox::Warning, applicationTitle, text, QMessageBox::NoButton, parent);
        QPushButton* chosen = box.addButton(action, QMessageBox::DestructiveRole);
        QPushButton* cancel = box.addButton(QMessageBox::Cancel);
        box.setDefaultButton(cancel);
        box.setEscapeButton(cancel);
        box.exec();
        return box.clickedButton() == chosen;
    }
};

class SystemBeep : public Beep {
public:
    void exclamation() override { QApplication::beep(); }
};

class SystemLauncher : public Launcher {
public:
    void startDetached(const QString& program, const QStringList& arguments) override {
        if (!QProcess::startDetached(program, arguments))
            throw UserError(QStringLiteral("Could not start \"%1\". Is it installed?").arg(program));
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

QString appFilePath(std::string_view name) {
    return QString::fromStdString(appPath(platform().appFolder.toStdString(), name));
}

void ignoreFileSizeSignal() { std::signal(SIGXFSZ, SIG_IGN); }

}  // namespace agelark
