#pragma once
// On Linux the game runs under Wine, and its installer leaves `Location` in
// the registry of the Wine prefix: the text file system.reg, which holds the
// machine-wide keys (HKEY_LOCAL_MACHINE) as
//
//     [Software\\Quillmoor Ltd\\Fendra] 1700000000
//     #time=1d9a0c2b3e4f5a6
//     "Location"="C:\\Games\\Fendra"
//
// Key and value names and string values are escaped as in C ("\\", "\"",
// "\n", octal), and every character above 127 is written as "\x" and up to
// four hex digits of its UTF-16 code unit. The drive letter of the stored path
// is a link in the prefix's dosdevices/ folder (c: points to ../drive_c).

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace rostradb::wine {

// The key the game's installer writes, relative to HKEY_LOCAL_MACHINE.
inline constexpr std::string_view kGameKey = "Software\\Quillmoor Ltd\\Fendra";
// Where a 64-bit prefix keeps the keys of a 32-bit installer.
inline constexpr std::string_view kGameKey32On64 = "Software\\Wow6432Node\\Quillmoor Ltd\\Fendra";
inline constexpr std::string_view kLocationValue = "Location";

// The text of the string value `name` under `key` (unescaped, in UTF-8) in
// the contents of a registry file. Key and value names are matched without
// regard to letter case, as Windows does (for the letters of Latin-1, Latin
// Extended-A, Greek and Cyrillic; see wine_registry.cpp). nullopt when the key or the
// value is missing, or the value is not a string (a number, binary data, a
// list of strings); an expandable string is returned as stored.
std::optional<std::string> findStringValue(std::string_view registryText, std::string_view key,
                                           std::string_view name);

// Decodes an escaped name or string as the registry file writes it.
std::string unescape(std::string_view escaped);

// The folder of this system that the Windows path `windowsPath`
// ("C:\Games\Fendra") names inside `prefix`: its drive through dosdevices/, then each
// folder, matched without regard to letter case (as for key names) when the
// exact name is not there (Windows ignores case, so the registry may not
// match the disk: "C:\JEUX VIDÉO" is "Jeux Vidéo"). Folders
// that do not exist are kept as written. nullopt for a path without a drive
// letter or a drive the prefix does not have.
std::optional<std::filesystem::path> unixPathOf(const std::filesystem::path& prefix, std::string_view windowsPath);

// The prefix Wine itself would use: $WINEPREFIX, else $HOME/.wine; nullopt
// when neither variable is set.
std::optional<std::filesystem::path> defaultPrefix();

// The game's `Location` in `prefix`, as a folder of this system; nullopt when
// the prefix has no system.reg, the key or value is missing, or the path does
// not lead into the prefix's drives. Never throws: this is a guess, not a
// setting the user made.
std::optional<std::filesystem::path> gameLocation(const std::filesystem::path& prefix);

} // namespace rostradb::wine
