#pragma once
// Where the game is installed. Start-up takes the first of these that names a
// folder:
//   1. --game-dir, for one run (nothing is written);
//   2. the game folder the user took last with File > Choose Game Folder...,
//      kept in rostradb's own settings (organisation "rostradb");
//   3. the value `Location` that the game's installer leaves in the system
//      settings store: on Windows the registry key
//      HKEY_LOCAL_MACHINE\SOFTWARE\Quillmoor Ltd\Fendra; elsewhere Qt's native store for organisation
//      "Quillmoor Ltd", application "Fendra" (on Linux $XDG_CONFIG_HOME/
//      Quillmoor Ltd/Fendra.conf, then the system-wide file);
//   4. on Linux, the same value in the registry of the Wine prefix the game
//      runs in ($WINEPREFIX, else ~/.wine), its drive letter made a folder.
// An empty text names no folder at any step.

#include <QString>
#include <QStringList>

#include <optional>

class QSettings;

// The configured directory exactly as stored (nothing trimmed or added); the
// empty string when there is none. A value that is not text raises
// "Invalid data type for 'Location'". Nothing is ever written.
QString readGameDirectory();

// The game's Location in the default Wine prefix, as a folder of this
// system; the empty string when there is none (and always off Linux).
QString readWineGameDirectory();

// The first folder of the order above; the empty string when no source names
// one. Throws what reading `Location` throws.
QString findGameDirectory(const std::optional<QString>& commandLine);

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
void rememberGameFolder(const QString& folder);

// A folder holds the game when its data/ holds the table directory.
bool holdsGame(const QString& folder);
// What the user is told when they choose a folder that does not.
QString notAGameFolderMessage(const QString& folder);
