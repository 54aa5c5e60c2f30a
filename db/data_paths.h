#pragma once
// The game keeps its tables in the "data" folder of its installation. A path
// is the game directory exactly as configured (nothing trimmed, no separator
// added or removed) followed by the separator, "data", the separator and the
// file name, so an empty directory gives "/data/index.dat".
//
// A game copied from Windows media or installed under Wine may spell them
// "Data/INDEX.DAT": Windows finds the files all the same, so on Linux "data"
// and the file name are looked up as Windows would (data_letter_case_*.cpp).

#include <string>
#include <string_view>

namespace rostradb {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

namespace datafile {
inline constexpr std::string_view kIndex = "index.dat";
inline constexpr std::string_view kNations = "nation.dat";
inline constexpr std::string_view kFirstNames = "first_names.dat";
inline constexpr std::string_view kSecondNames = "second_names.dat";
inline constexpr std::string_view kCommonNames = "common_names.dat";
inline constexpr std::string_view kStaff = "staff.dat";
inline constexpr std::string_view kClubs = "club.dat";
// Exists only while a save writes staff.dat: the old bytes of what it writes.
inline constexpr std::string_view kStaffJournal = "staff.dat-journal";
} // namespace datafile

// The name of the entry `name` of `folder` (a path ending in a separator, or
// empty for the current folder) as the disk spells it: `name` itself when it
// is there or nothing else matches it, else the one entry whose name differs
// from it only in the letter case of a..z. Two such entries raise a DbError
// naming both. On Windows, whose file system ignores case, always `name`.
std::string entryNameOnDisk(const std::string& folder, std::string_view name);

// The folder that holds the data files.
inline std::string dataFolderPath(const std::string& gameDirectory)
{
    std::string folder = gameDirectory;
    folder += kPathSeparator;
    return folder + entryNameOnDisk(folder, "data");
}

inline std::string dataFilePath(const std::string& gameDirectory, std::string_view fileName)
{
    std::string folder = dataFolderPath(gameDirectory);
    folder += kPathSeparator;
    return folder + entryNameOnDisk(folder, fileName);
}

} // namespace rostradb
