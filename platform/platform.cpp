#include "platform.h"

#include <QApplication>
#include <QDateTime>
#include <QMessageBox>
#include <QProcess>

#include "app_path.h"
#include "errors.h"
#include "windows.h"

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
// own placement happens before the box is framed and lands it off centre.
class CentredMessageBox : public QMessageBox {
public:
    CentredMessageBox(Icon icon, const QString& text, QWidget* parent)
        : QMessageBox(icon, applicationTitle, text, QMessageBox::Ok, parent) {}

protected:
    void showEvent(QShowEvent* event) override {
        QMessageBox::showEvent(event);  // gives the box its size
        if (parentWidget() && parentWidget()->isVisible()) centreOver(this, parentWidget()->window());
    }
};

class SystemMessageBoxes : public MessageBoxes {
public:
    void information(QWidget* parent, const QString& text) override {
        CentredMessageBox(QMessageBox::Information, text, parent).exec();
    }
    void warning(QWidget* parent, const QString& text) override {
        CentredMessageBox(QMessageBox::Warning, text, parent).exec();
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

}  // namespace agelark
