// The file layer: which message the user sees for each failure, and that the
// game's files are only ever opened as they are (never created, never cut).

#include "db/data_file.h"
#include "db/data_paths.h"
#include "db/errors.h"
#include "support/error_text.h"
#include "support/read_only_file.h"
#include "support/temp_dir.h"
#include "support/windows_api.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

namespace rostradb {
namespace {

using test::readFileBytes;
using test::TempDir;
using test::writeFileBytes;

// A path as the core takes it: UTF-8 on every platform.
std::string utf8(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::string openFailure(const std::filesystem::path& path)
{
    return test::dbErrorOf([&] { DataFile::openExisting(utf8(path)); });
}

TEST(IoErrorMessage, NamesEachSystemErrorTheWayTheUserKnowsIt)
{
    const struct {
        int code;
        std::string message;
    } cases[] = {
#ifdef _WIN32
        {ERROR_FILE_NOT_FOUND, "File not found"},
        {ERROR_PATH_NOT_FOUND, "Invalid filename"},
        {ERROR_INVALID_NAME, "Invalid filename"},
        {ERROR_FILENAME_EXCED_RANGE, "Invalid filename"},
        {ERROR_TOO_MANY_OPEN_FILES, "Too many open files"},
        {ERROR_ACCESS_DENIED, "File access denied"},
        {ERROR_SHARING_VIOLATION, "File access denied"},
        {ERROR_WRITE_PROTECT, "File access denied"},
        {ERROR_DISK_FULL, "Disk full"},
        {ERROR_HANDLE_DISK_FULL, "Disk full"},
        {ERROR_CRC, "I/O error 23"},
        {ERROR_INVALID_HANDLE, "I/O error 6"},
#else
        {ENOENT, "File not found"},
        {ENOTDIR, "Invalid filename"},
        {ENAMETOOLONG, "Invalid filename"},
        {EMFILE, "Too many open files"},
        {ENFILE, "Too many open files"},
        {EACCES, "File access denied"},
        {EPERM, "File access denied"},
        {EROFS, "File access denied"},
        {ENOSPC, "Disk full"},
        {EIO, "I/O error " + std::to_string(EIO)},
        {EINVAL, "I/O error " + std::to_string(EINVAL)},
        {EBADF, "I/O error " + std::to_string(EBADF)},
#endif
    };
    for (const auto& c : cases)
        EXPECT_EQ(ioErrorMessage(c.code), c.message) << "system error " << c.code;
}

#ifndef _WIN32
// POSIX has one code for a missing file and a missing folder (Windows has
// two), so the open looks at the path to tell them apart.
TEST(OpenErrorMessage, SplitsOnlyMissingEntriesIntoFileAndFolder)
{
    TempDir dir;
    const std::string inExistingFolder = (dir.path() / "absent.dat").string();
    const std::string inMissingFolder = (dir.path() / "absent" / "absent.dat").string();

    EXPECT_EQ(openErrorMessage(ENOENT, inExistingFolder), "File not found");
    EXPECT_EQ(openErrorMessage(ENOENT, inMissingFolder), "Invalid filename");
    // Any other error keeps its own message, wherever the path points.
    EXPECT_EQ(openErrorMessage(EACCES, inMissingFolder), "File access denied");
    EXPECT_EQ(openErrorMessage(EMFILE, inExistingFolder), "Too many open files");
}
#endif

TEST(DataFileOpen, ReportsWhyAFileCannotBeOpened)
{
    TempDir dir;
    writeFileBytes(dir.path() / "plain.dat", std::vector<std::uint8_t>{1, 2, 3});
    std::filesystem::create_directory(dir.path() / "folder.dat");

    const struct {
        const char* what;
        std::filesystem::path path;
        const char* message;
    } cases[] = {
        {"missing file", dir.path() / "absent.dat", "File not found"},
        {"missing file, non-ASCII name", dir.path() / u8"\u00e9quipe \u0416.dat", "File not found"},
        {"missing folder", dir.path() / "absent" / "index.dat", "Invalid filename"},
        {"missing folders", dir.path() / "absent" / "data" / "index.dat", "Invalid filename"},
        {"file used as a folder", dir.path() / "plain.dat" / "index.dat", "Invalid filename"},
        {"name too long", dir.path() / std::string(300, 'n'), "Invalid filename"},
        {"folder in place of the file", dir.path() / "folder.dat", "File access denied"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(openFailure(c.path), c.message) << c.what;
}

TEST(DataFileOpen, FindsAFileWhoseNameIsNotAscii)
{
    TempDir dir;
    const auto folder = dir.path() / u8"Spi\u00e9le \u0416";
    std::filesystem::create_directory(folder);
    const auto path = folder / u8"st\u00e4ff.dat";
    writeFileBytes(path, std::vector<std::uint8_t>{4, 5, 6});

    DataFile file = DataFile::openExisting(utf8(path));
    std::vector<std::uint8_t> bytes(3);
    file.readExact(bytes);
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{4, 5, 6}));
    EXPECT_TRUE(fileExists(utf8(path)));
}

TEST(DataFileOpen, ReadOnlyFileIsRefusedBecauseDataFilesAreOpenedForWriting)
{
    TempDir dir;
    const auto path = dir.path() / "index.dat";
    writeFileBytes(path, std::vector<std::uint8_t>(16, 0x42));
    test::ReadOnlyFile readOnly(path);
    if (!readOnly.holds())
        GTEST_SKIP() << "cannot make a file read-only here";

    EXPECT_EQ(openFailure(path), "File access denied");
}

TEST(DataFileOpen, NeverCreatesNorTruncates)
{
    TempDir dir;
    const auto missing = dir.path() / "absent.dat";
    EXPECT_EQ(openFailure(missing), "File not found");
    EXPECT_FALSE(std::filesystem::exists(missing));

    const auto existing = dir.path() / "staff.dat";
    const std::vector<std::uint8_t> content{9, 8, 7, 6, 5};
    writeFileBytes(existing, content);
    DataFile file = DataFile::openExisting(existing.string());
    EXPECT_EQ(file.size(), content.size());
    file.close();
    EXPECT_EQ(readFileBytes(existing), content);
}

TEST(DataFileRead, ShortReadIsCountedButAnExactReadRefusesIt)
{
    TempDir dir;
    const auto path = dir.path() / "short.dat";
    writeFileBytes(path, std::vector<std::uint8_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
    DataFile file = DataFile::openExisting(path.string());

    std::vector<std::uint8_t> four(4);
    file.readExact(four);
    EXPECT_EQ(four, (std::vector<std::uint8_t>{0, 1, 2, 3}));

    file.seek(7);
    std::vector<std::uint8_t> eight(8);
    EXPECT_EQ(file.readSome(eight), 3u);
    EXPECT_EQ(eight[0], 7);

    file.seek(7);
    EXPECT_EQ(test::dbErrorOf([&] { file.readExact(eight); }), "Read beyond end of file");

    file.seek(50);
    EXPECT_THROW(file.readExact(four), DbError);
}

TEST(DataFilePath, AppendsDataFolderAndNameToTheDirectoryAsConfigured)
{
    const std::string sep(1, kPathSeparator);
    const struct {
        const char* gameDirectory;
        std::string expected;
    } cases[] = {
        {"/games/fendra", "/games/fendra" + sep + "data" + sep + "staff.dat"},
        {"/games/fendra/", "/games/fendra/" + sep + "data" + sep + "staff.dat"},
        {" /games/fendra ", " /games/fendra " + sep + "data" + sep + "staff.dat"},
        {"", sep + "data" + sep + "staff.dat"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(dataFilePath(c.gameDirectory, "staff.dat"), c.expected) << '"' << c.gameDirectory << '"';
}

// What the save does around the staff file: its journal is created empty,
// flushed with its folder and deleted afterwards, and only one writer at a
// time holds the lock on the file.
class FolderOperationsTest : public ::testing::Test {
protected:
    std::string at(const char* name) const { return utf8(dir.path() / name); }
    TempDir dir;
};

TEST_F(FolderOperationsTest, CreateEmptyStartsAfreshAndRemoveFileDeletes)
{
    writeFileBytes(dir.path() / "journal", std::vector<std::uint8_t>(10, 0xAA));
    {
        DataFile journal = DataFile::createEmpty(at("journal"));
        EXPECT_EQ(journal.size(), 0u);
        const std::vector<std::uint8_t> bytes{1, 2, 3};
        journal.write(bytes);
        journal.syncToDisk();
        journal.close();
    }
    EXPECT_EQ(readFileBytes(dir.path() / "journal"), (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_NO_THROW(syncFolder(utf8(dir.path())));

    EXPECT_TRUE(fileExists(at("journal")));
    removeFile(at("journal"));
    EXPECT_FALSE(fileExists(at("journal")));
    EXPECT_FALSE(fileExists(at("absent/journal")));

    EXPECT_EQ(test::dbErrorOf([&] { removeFile(at("journal")); }), "File not found");
    EXPECT_EQ(test::dbErrorOf([&] { DataFile::createEmpty(at("absent/journal")); }), "Invalid filename");
    EXPECT_EQ(test::dbErrorOf([&] { syncFolder(at("absent")); }), "File not found");
}

TEST_F(FolderOperationsTest, OneWriterAtATimeHoldsTheLockWhileReadersGoOn)
{
    writeFileBytes(dir.path() / "staff.dat", std::vector<std::uint8_t>{1, 2, 3, 4});
    DataFile first = DataFile::openExisting(at("staff.dat"));
    DataFile second = DataFile::openExisting(at("staff.dat"));

    ASSERT_TRUE(first.tryLockExclusive());
    EXPECT_FALSE(second.tryLockExclusive());
    // The lock keeps writers apart, not readers nor the writer's own
    // bytes: another handle still reads and writes the file.
    std::vector<std::uint8_t> bytes(4);
    second.readExact(bytes);
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{1, 2, 3, 4}));
    second.seek(0);
    second.write(bytes);

    first.unlock();
    EXPECT_TRUE(second.tryLockExclusive());
    EXPECT_FALSE(first.tryLockExclusive());
    second.close(); // closing gives the lock up too
    EXPECT_TRUE(first.tryLockExclusive());
}

} // namespace
} // namespace rostradb
