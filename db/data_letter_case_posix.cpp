// Windows ignores letter case in file names, so a game installed there, or
// copied from its media, may hold "Data/INDEX.DAT" and the game still runs.
// Linux does not ignore it: when the exact name is missing, the folder is
// read for the one entry that is the same name in other letters.

#include "data_paths.h"

#include "errors.h"

#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>
#include <vector>

namespace rostradb {

namespace {

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The names looked up are the game's own (ASCII), so folding a..z is all
// it takes: a byte of a non-ASCII name never equals one of them.
bool sameIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
}

std::vector<std::string> entriesMatching(const std::string& folder, std::string_view name)
{
    std::vector<std::string> found;
    DIR* entries = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!entries)
        return found; // a folder that is not there: the open says so later
    while (const dirent* entry = ::readdir(entries))
        if (sameIgnoringCase(entry->d_name, name))
            found.emplace_back(entry->d_name);
    ::closedir(entries);
    std::sort(found.begin(), found.end());
    return found;
}

} // namespace

std::string entryNameOnDisk(const std::string& folder, std::string_view name)
{
    const std::string exact(name);
    struct stat info {};
    if (::lstat((folder + exact).c_str(), &info) == 0)
        return exact;
    const std::vector<std::string> found = entriesMatching(folder, name);
    if (found.empty())
        return exact;
    if (found.size() > 1)
        throw DbError(folder + found[0] + " and " + folder + found[1] + " both stand for " + exact +
                      " when letter case is ignored; rename or remove one");
    return found.front();
}

} // namespace rostradb
