// rostradb: editor of the people database of the game Fendra.

#include "rostradb_nation.h"
#include "rostradbmain.h"
#include "rostradbpos.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>

namespace {

void nameTheProgram()
{
    QCoreApplication::setApplicationName(QStringLiteral("rostradb"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ROSTRADB_VERSION));
}

// The options are read before the window system is started, so that --help,
// --version and a mistyped option answer on a machine without a display.
// QCommandLineParser prints the help or version and ends the program itself.
StartupOptions readOptions(int argc, char* argv[])
{
    const QCoreApplication withoutWindows(argc, argv);
    nameTheProgram();
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Editor of the people database of the game Fendra.\n"
        "The game directory is read from the setting Location (organisation \"Quillmoor Ltd\", "
        "application \"Fendra\"); --game-dir overrides it for this run and writes nothing."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption gameDir(QStringLiteral("game-dir"),
                                     QStringLiteral("Use the game installed in DIR for this run."),
                                     QStringLiteral("DIR"));
    parser.addOption(gameDir);
    parser.process(withoutWindows);

    StartupOptions options;
    if (parser.isSet(gameDir))
        options.gameDirectory = parser.value(gameDir);
    return options;
}

} // namespace

int main(int argc, char* argv[])
{
    const StartupOptions options = readOptions(argc, argv);

    QApplication app(argc, argv);
    nameTheProgram();
    Tfrm_main frm_main(options);
    Tfrm_nation frm_nation; // laid out, never shown
    Tfrm_pos frm_pos;
    frm_main.setProgressSink(&frm_pos);
    frm_main.show();
    return app.exec();
}
