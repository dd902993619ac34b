#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>

#include "platform/threads_at_exit.h"
#include "platform/window_system.h"
#include "ui/program.h"
#include "ui/version.h"

namespace {

// Answers --help and --version, and refuses what it does not know, on the
// terminal, before any window system is opened: neither needs a display. Qt's
// own options (-platform, -style, ...) are known here and left in argv for
// the application object. Gives the exit status, or -1 to go on to the windows.
int answerCommandLine(int argc, char** argv) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({"h", "help"}, "Show this help and exit.");
    const QCommandLineOption version({"v", "version"}, "Show the version and exit.");
    parser.addOptions({help, version});
    // Qt's own options, "=" marking those that take a value.
    for (const QString& name : QStringLiteral("platform= platformpluginpath= platformtheme= plugin= qwindowgeometry= "
                                              "geometry= qwindowtitle= title= qwindowicon= icon= display= name= "
                                              "session= style= stylesheet= reverse nograb dograb sync testability "
                                              "widgetcount").split(' ')) {
        const bool takesValue = name.endsWith('=');
        QCommandLineOption qt(name.chopped(takesValue), {}, takesValue ? QStringLiteral("value") : QString());
        qt.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(qt);
    }
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    if (!parser.parse(arguments) || !parser.positionalArguments().isEmpty()) {
        const QString wrong = parser.errorText().isEmpty()
                                  ? QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments()[0])
                                  : parser.errorText();
        std::fprintf(stderr, "agelark: %s Try 'agelark --help'.\n", qPrintable(wrong));
        return 2;
    }
    if (parser.isSet(version)) {
        std::printf("Agelark %s\n", AGELARK_VERSION);
        return 0;
    }
    if (parser.isSet(help)) {
        parser.setApplicationDescription(QStringLiteral(AGELARK_COMMENT "\nIt shows how old 37 video-game consoles are, "
                                                        "counting live, and keeps a notes pad.\nQt's own options "
                                                        "(-platform, -style, -display, ...) are taken too."));
        std::fputs(qPrintable(parser.helpText().replace("<executable_name>", "agelark")), stdout);
        return 0;
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    if (const int status = answerCommandLine(argc, argv); status >= 0) return status;
    agelark::letThreadsEndBeforeLeakCheck();
    const auto app = agelark::openWindowSystem(argc, argv);
    QApplication::setApplicationName("Agelark");
    QApplication::setApplicationVersion(AGELARK_VERSION);
    QApplication::setOrganizationDomain("agelark.github.io");
    // Ties the windows to the menu entry and its icon (the Wayland app id).
    QGuiApplication::setDesktopFileName(AGELARK_APP_ID);
    agelark::startProgram();
    return app->exec();
}
