// rostradb: editor of the people database of the game Fendra.

#include "main/rostradbmain.h"
#include "progress/rostradbpos.h"
#include "main/startup_options.h"

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

} // namespace

int main(int argc, char* argv[])
{
    if (asksForHelpOrVersion(argc, argv)) {
        const QCoreApplication withoutWindows(argc, argv);
        nameTheProgram();
        readOptions(withoutWindows); // prints and ends the program
        return 0;
    }

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
