// rostradb: editor of the people database of the game Fendra.

#include "main/rostradbmain.h"
#include "main/startup_options.h"
#include "progress/rostradbpos.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

void nameTheProgram()
{
    QCoreApplication::setApplicationName(QStringLiteral("rostradb"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ROSTRADB_VERSION));
}

// QCommandLineParser::process(), except on Windows where the program has no
// console but its output goes to a file or a pipe (cmd.exe's `>`, a Linux
// shell under Wine): Qt would show the help, the version or a mistake in a
// message box there, which a script cannot read; they are written out.
void processOptions(QCommandLineParser& parser, const QCoreApplication& app)
{
#ifdef Q_OS_WIN
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    if (output && output != INVALID_HANDLE_VALUE && !GetConsoleWindow()) {
        if (!parser.parse(app.arguments())) {
            std::fprintf(stderr, "%s\n", qPrintable(parser.errorText()));
            std::exit(EXIT_FAILURE);
        }
        if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all"))) {
            std::fputs(qPrintable(parser.helpText()), stdout);
            std::exit(EXIT_SUCCESS);
        }
        if (parser.isSet(QStringLiteral("version"))) {
            std::printf("%s %s\n", qPrintable(QCoreApplication::applicationName()),
                        qPrintable(QCoreApplication::applicationVersion()));
            std::exit(EXIT_SUCCESS);
        }
        return;
    }
#endif
    parser.process(app);
}

// Reads the options; QCommandLineParser prints the help, the version or a
// mistake in the options and ends the program itself.
StartupOptions readOptions(const QCoreApplication& app)
{
    QCommandLineParser parser;
    addStartupOptions(parser);
    processOptions(parser, app);
    return startupOptions(parser);
}

// Help and version need no window system, and a machine without a display
// cannot start one.
bool asksForHelpOrVersion(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i)
        for (const char* option : {"-h", "-?", "--help", "--help-all", "-v", "--version"})
            if (std::strcmp(argv[i], option) == 0)
                return true;
    return false;
}

#ifdef Q_OS_WIN
// Wine has no per-monitor DPI: Windows 10's awareness context and the
// scaling of window frames are not implemented there, so Qt's requests for
// them fail, at start and again for every window, each time with a warning
// that says nothing about the program. Under Wine, and only there, those two
// warnings are dropped; everything else Qt says goes where it went.
QtMessageHandler qtsOwnHandler = nullptr;

void dropWinesDpiWarnings(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    // The second comes through qErrnoWarning, which reports it as critical.
    if (message.startsWith(QLatin1String("SetProcessDpiAwarenessContext(")) ||
        message.startsWith(QLatin1String("EnableNonClientDpiScaling() failed")))
        return;
    qtsOwnHandler(type, context, message);
}

void quietenWinesDpiWarnings()
{
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    if (ntdll && GetProcAddress(ntdll, "wine_get_version"))
        qtsOwnHandler = qInstallMessageHandler(dropWinesDpiWarnings);
}
#endif

} // namespace

int main(int argc, char* argv[])
{
    if (asksForHelpOrVersion(argc, argv)) {
        const QCoreApplication withoutWindows(argc, argv);
        nameTheProgram();
        readOptions(withoutWindows); // prints and ends the program
        return 0;
    }

#ifdef Q_OS_WIN
    quietenWinesDpiWarnings();
#endif
    // The window system's own options (-platform, ...) are taken out of the
    // arguments by QApplication before the parser sees them.
    QApplication app(argc, argv);
    nameTheProgram();
    const StartupOptions options = readOptions(app);
    Tfrm_main frm_main(options);
    Tfrm_pos frm_pos;
    frm_main.setProgressSink(&frm_pos);
    frm_main.show();
    return app.exec();
}
