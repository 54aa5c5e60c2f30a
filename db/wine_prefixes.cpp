#include "db/wine_prefixes.h"

#include "db/wine_registry.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <system_error>

namespace rostradb::wine {
namespace {

namespace fs = std::filesystem;

std::string readText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool isFolder(const fs::path& path)
{
    std::error_code error;
    return fs::is_directory(path, error);
}

// The folders in `folder`, by name, so that the first match is always the same.
std::vector<fs::path> subfolders(const fs::path& folder)
{
    std::vector<fs::path> found;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        if (isFolder(it->path()))
            found.push_back(it->path());
    std::sort(found.begin(), found.end());
    return found;
}

std::vector<fs::path> filesEndingIn(const fs::path& folder, std::string_view extension)
{
    std::vector<fs::path> found;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        if (it->path().extension() == extension)
            found.push_back(it->path());
    std::sort(found.begin(), found.end());
    return found;
}

// The quoted strings of a line of a Valve key-value file, "\\" unescaped.
std::vector<std::string> quotedTokens(std::string_view line)
{
    std::vector<std::string> tokens;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] != '"')
            continue;
        std::string token;
        for (++i; i < line.size() && line[i] != '"'; ++i) {
            if (line[i] == '\\' && i + 1 < line.size())
                ++i;
            token += line[i];
        }
        tokens.push_back(std::move(token));
    }
    return tokens;
}

bool allDigits(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string_view trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

void addOnce(std::vector<fs::path>& prefixes, const fs::path& prefix)
{
    if (!prefix.empty() && isFolder(prefix) && std::find(prefixes.begin(), prefixes.end(), prefix) == prefixes.end())
        prefixes.push_back(prefix);
}

void addProtonPrefixes(std::vector<fs::path>& prefixes, const fs::path& home)
{
    std::vector<fs::path> libraries;
    for (const fs::path& steam : {home / ".steam/steam", home / ".local/share/Steam",
                                  home / ".var/app/com.valvesoftware.Steam/.local/share/Steam"}) {
        if (!isFolder(steam))
            continue;
        libraries.push_back(steam);
        for (const fs::path& library : steamLibraries(readText(steam / "steamapps/libraryfolders.vdf")))
            libraries.push_back(library);
    }
    for (const fs::path& library : libraries)
        for (const fs::path& game : subfolders(library / "steamapps/compatdata"))
            addOnce(prefixes, game / "pfx");
}

void addLutrisPrefixes(std::vector<fs::path>& prefixes, const fs::path& home)
{
    for (const fs::path& configs : {home / ".config/lutris/games", home / ".local/share/lutris/games"})
        for (const fs::path& config : filesEndingIn(configs, ".yml"))
            addOnce(prefixes, lutrisPrefix(readText(config), home));
    for (const fs::path& game : subfolders(home / "Games"))
        addOnce(prefixes, game);
}

void addBottles(std::vector<fs::path>& prefixes, const fs::path& home)
{
    for (const fs::path& bottles :
         {home / ".var/app/com.usebottles.bottles/data/bottles/bottles", home / ".local/share/bottles/bottles"})
        for (const fs::path& bottle : subfolders(bottles))
            addOnce(prefixes, bottle);
}

} // namespace

std::vector<fs::path> steamLibraries(std::string_view libraryFoldersVdf)
{
    std::vector<fs::path> libraries;
    std::size_t start = 0;
    while (start < libraryFoldersVdf.size()) {
        std::size_t end = libraryFoldersVdf.find('\n', start);
        if (end == std::string_view::npos)
            end = libraryFoldersVdf.size();
        const std::vector<std::string> tokens = quotedTokens(libraryFoldersVdf.substr(start, end - start));
        start = end + 1;
        if (tokens.size() == 2 && (tokens[0] == "path" || allDigits(tokens[0])) && tokens[1].starts_with('/'))
            libraries.emplace_back(tokens[1]);
    }
    return libraries;
}

fs::path lutrisPrefix(std::string_view gameConfigYaml, const fs::path& home)
{
    std::size_t start = 0;
    while (start < gameConfigYaml.size()) {
        std::size_t end = gameConfigYaml.find('\n', start);
        if (end == std::string_view::npos)
            end = gameConfigYaml.size();
        const std::string_view line = trimmed(gameConfigYaml.substr(start, end - start));
        start = end + 1;
        constexpr std::string_view kKey = "prefix:";
        if (!line.starts_with(kKey))
            continue;
        std::string_view value = trimmed(line.substr(kKey.size()));
        if (value.size() >= 2 && (value.front() == '\'' || value.front() == '"') && value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        if (value.starts_with("~/"))
            return home / value.substr(2);
        return fs::path(value);
    }
    return {};
}

std::vector<fs::path> knownPrefixes()
{
    std::vector<fs::path> prefixes;
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix && *prefix)
        addOnce(prefixes, prefix);
    const char* homeVariable = std::getenv("HOME");
    if (!homeVariable || !*homeVariable)
        return prefixes;
    const fs::path home(homeVariable);
    addOnce(prefixes, home / ".wine");
    addProtonPrefixes(prefixes, home);
    addLutrisPrefixes(prefixes, home);
    addBottles(prefixes, home);
    return prefixes;
}

std::vector<fs::path> gameLocations()
{
    std::vector<fs::path> locations;
    for (const fs::path& prefix : knownPrefixes())
        if (std::optional<fs::path> location = gameLocation(prefix))
            locations.push_back(std::move(*location));
    return locations;
}

} // namespace rostradb::wine
