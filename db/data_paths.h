#pragma once
// The game keeps its tables in the "data" folder of its installation. A path
// is the game directory exactly as configured (nothing trimmed, no separator
// added or removed) followed by the separator, "data", the separator and the
// file name, so an empty directory gives "/data/index.dat".

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

inline std::string dataFilePath(const std::string& gameDirectory, std::string_view fileName)
{
    std::string path = gameDirectory;
    path += kPathSeparator;
    path += "data";
    path += kPathSeparator;
    path += fileName;
    return path;
}

// The folder that holds the data files, for flushing it.
inline std::string dataFolderPath(const std::string& gameDirectory)
{
    std::string path = gameDirectory;
    path += kPathSeparator;
    path += "data";
    return path;
}

} // namespace rostradb
