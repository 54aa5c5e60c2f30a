#include "main/startup_options.h"

#include <QCommandLineParser>

namespace {

const QString kGameDir = QStringLiteral("game-dir");

} // namespace

void addStartupOptions(QCommandLineParser& parser)
{
    parser.setApplicationDescription(QStringLiteral(
        "Editor of the people database of the game Fendra.\n"
        "The game directory is FOLDER or --game-dir, else the folders taken with File > Choose Game "
        "Folder... (the last first), else the setting Location (organisation \"Quillmoor Ltd\", application "
        "\"Fendra\"), else the game's Location in a Wine prefix ($WINEPREFIX, ~/.wine, Proton, Lutris, "
        "Bottles). A folder taken before or found in Wine that no longer holds the game is passed over. "
        "FOLDER and --game-dir write nothing."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(QCommandLineOption(kGameDir, QStringLiteral("Use the game installed in DIR for this run."),
                                        QStringLiteral("DIR")));
    parser.addPositionalArgument(QStringLiteral("FOLDER"),
                                 QStringLiteral("The game installed in FOLDER, as with --game-dir."),
                                 QStringLiteral("[FOLDER]"));
}

StartupOptions startupOptions(const QCommandLineParser& parser)
{
    StartupOptions options;
    if (parser.isSet(kGameDir))
        options.gameDirectory = parser.value(kGameDir);
    else if (!parser.positionalArguments().isEmpty())
        options.gameDirectory = parser.positionalArguments().constFirst();
    return options;
}
