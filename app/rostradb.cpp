// rostradb: editor of the people database of the game Fendra.

#include "rostradb_nation.h"
#include "rostradbmain.h"
#include "rostradbpos.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("rostradb"));
    QApplication::setApplicationVersion(QStringLiteral(ROSTRADB_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Editor of the people database of the game Fendra.\n"
        "The game directory is --game-dir, else the folder last taken with File > Choose Game Folder..., "
        "else the setting Location (organisation \"Quillmoor Ltd\", application \"Fendra\"), else the "
        "game's Location in the Wine prefix ($WINEPREFIX or ~/.wine). --game-dir writes nothing."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption gameDir(QStringLiteral("game-dir"),
                                     QStringLiteral("Use the game installed in DIR for this run."),
                                     QStringLiteral("DIR"));
    parser.addOption(gameDir);
    parser.process(app);

    StartupOptions options;
    if (parser.isSet(gameDir))
        options.gameDirectory = parser.value(gameDir);

    Tfrm_main frm_main(options);
    Tfrm_nation frm_nation; // laid out, never shown
    Tfrm_pos frm_pos;
    frm_main.setProgressSink(&frm_pos);
    frm_main.show();
    return app.exec();
}
