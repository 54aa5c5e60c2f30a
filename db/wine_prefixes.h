#pragma once
// The Wine prefixes a Linux player's game may be installed in, in the order
// they are looked into (the first whose registry holds the game's Location
// wins):
//   $WINEPREFIX, ~/.wine;
//   Steam's Proton: steamapps/compatdata/*/pfx of every Steam library that
//     libraryfolders.vdf lists (~/.steam/steam, ~/.local/share/Steam and the
//     Flatpak's Steam), the Steam folder itself included;
//   Lutris: the prefixes its game configurations name (`prefix:` in
//     ~/.config/lutris/games/*.yml and ~/.local/share/lutris/games/*.yml),
//     then every folder of ~/Games;
//   Bottles: every bottle of the Flatpak (~/.var/app/com.usebottles.bottles/
//     data/bottles/bottles/*) and of the native program
//     (~/.local/share/bottles/bottles/*).
// Folders that do not exist are left out; each prefix comes once. Nothing
// here throws: these are guesses, never settings the user made.

#include <filesystem>
#include <string_view>
#include <vector>

namespace rostradb::wine {

std::vector<std::filesystem::path> knownPrefixes();

// The library folders a Steam libraryfolders.vdf lists: the "path" of each
// library (and the older form, a number followed by the path).
std::vector<std::filesystem::path> steamLibraries(std::string_view libraryFoldersVdf);

// The prefix a Lutris game configuration names in its `prefix:` line; empty
// when it names none. "~/" is the home folder `home`.
std::filesystem::path lutrisPrefix(std::string_view gameConfigYaml, const std::filesystem::path& home);

// The game's Location in each of knownPrefixes() that holds one, in that
// order, as folders of this system.
std::vector<std::filesystem::path> gameLocations();

} // namespace rostradb::wine
