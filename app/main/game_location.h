#pragma once
// Where the game is installed. Start-up takes, in this order:
//   1. --game-dir or the FOLDER argument, for one run (nothing is written);
//   2. the game folders the user took with File > Choose Game Folder..., the
//      last first, kept in rostradb's own settings (organisation "rostradb");
//   3. the value `Location` that the game's installer leaves in the system
//      settings store: on Windows the registry key
//      HKEY_LOCAL_MACHINE\SOFTWARE\Quillmoor Ltd\Fendra; elsewhere Qt's native store for organisation
//      "Quillmoor Ltd", application "Fendra" (on Linux $XDG_CONFIG_HOME/
//      Quillmoor Ltd/Fendra.conf, then the system-wide file);
//   4. on Linux, the same value in the registry of a Wine prefix the game
//      runs in (db/wine_prefixes.h), its drive letter made a folder.
// 1 and 3 are settings someone made: they are taken as they are, and when
// they fail the user is told in a box. 2 and 4 are the program's own
// memory and guesses: one that no longer holds the game is passed over for
// the next. An empty text names no folder at any step.

#include <QString>
#include <QStringList>

#include <optional>

class QSettings;

// The configured directory exactly as stored (nothing trimmed or added); the
// empty string when there is none. A value that is not text raises
// "Invalid data type for 'Location'". Nothing is ever written.
QString readGameDirectory();

// The game's Location in each Wine prefix that has one, as folders of this
// system, in the order the prefixes are looked into (none off Linux).
QStringList readWineGameDirectories();

struct StartupFolder {
    QString folder;     // the game directory; empty when no source serves
    bool named = false; // from the command line or Location: a failure is reported in a box
    // The first folder of the program's own that was passed over, and why
    // ("... does not hold the game: data/index.dat is missing"); empty when
    // none was.
    QString passedOver;
};

// The folder of the order above. Throws what reading `Location` throws.
StartupFolder findGameDirectory(const std::optional<QString>& commandLine);

// rostradb's own settings (organisation and application "rostradb"): the
// game folders taken, and the people table's columns.
QSettings programSettings();

// For tests: rostradb's own settings under organisation `organisation`, and
// the game's Location read from the registry key `gameKey` (Windows only), so
// that a test never reads or writes the user's. On Linux $XDG_CONFIG_HOME
// moves all settings; Windows keeps them in the one registry of the user.
void moveSettingsForTesting(const QString& organisation, const QString& gameKey);

// The game folders the user took, the last first; at most kRecentGameFolders.
inline constexpr int kRecentGameFolders = 5;
QStringList recentGameFolders();
// Puts `folder` first in the list, once, dropping the oldest beyond five.
// False when the settings could not be written (see settingsNotWritableMessage).
bool rememberGameFolder(const QString& folder);
// Takes `folder` off the list.
bool forgetGameFolder(const QString& folder);
// "The game folder could not be remembered: PATH is not writable"
QString settingsNotWritableMessage();

// A folder holds the game when its data/ holds the table directory (in any
// letter case, as Windows finds it).
bool holdsGame(const QString& folder);
// Why `folder` does not hold the game ("... does not hold the game:
// data/index.dat is missing"); empty when it does.
QString gameFolderProblem(const QString& folder);
// What the user is told when they choose a folder that does not.
QString notAGameFolderMessage(const QString& folder);
