// The file layer: which message the user sees for each failure, and that the
// game's files are only ever opened as they are (never created, never cut).

#include "db/data_file.h"
#include "db/data_paths.h"
#include "db/errors.h"
#include "support/error_text.h"
#include "support/read_only_file.h"
#include "support/temp_dir.h"

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

std::string openFailure(const std::filesystem::path& path)
{
    return test::dbErrorOf([&] { DataFile::openExisting(path.string()); });
}

TEST(IoErrorMessage, NamesEachSystemErrorTheWayTheUserKnowsIt)
{
    const struct {
        int code;
        std::string message;
    } cases[] = {
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
    };
    for (const auto& c : cases)
        EXPECT_EQ(ioErrorMessage(c.code), c.message) << "errno " << c.code;
}

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

TEST(DataFileOpen, ReportsWhyAFileCannotBeOpened)
{
    TempDir dir;
    writeFileBytes(dir.path() / "plain.dat", std::vector<std::uint8_t>{1, 2, 3});

    const struct {
        const char* what;
        std::filesystem::path path;
        const char* message;
    } cases[] = {
        {"missing file", dir.path() / "absent.dat", "File not found"},
        {"missing folder", dir.path() / "absent" / "index.dat", "Invalid filename"},
        {"missing folders", dir.path() / "absent" / "data" / "index.dat", "Invalid filename"},
        {"file used as a folder", dir.path() / "plain.dat" / "index.dat", "Invalid filename"},
        {"name too long", dir.path() / std::string(300, 'n'), "Invalid filename"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(openFailure(c.path), c.message) << c.what;
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
    const struct {
        const char* gameDirectory;
        const char* expected;
    } cases[] = {
        {"/games/fendra", "/games/fendra/data/staff.dat"},
        {"/games/fendra/", "/games/fendra//data/staff.dat"},
        {" /games/fendra ", " /games/fendra /data/staff.dat"},
        {"", "/data/staff.dat"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(dataFilePath(c.gameDirectory, "staff.dat"), c.expected) << '"' << c.gameDirectory << '"';
}

TEST(DataFileForTheJournal, OneWriterLocksAFileAndTheFolderFunctionsCreateAndRemove)
{
    TempDir dir;
    const std::filesystem::path path = dir.path() / "staff.dat";
    writeFileBytes(path, std::vector<std::uint8_t>{1, 2, 3});

    DataFile first = DataFile::openExisting(path.string());
    DataFile second = DataFile::openExisting(path.string());
    ASSERT_TRUE(first.tryLockExclusive());
    EXPECT_FALSE(second.tryLockExclusive()); // another open, as another process has
    first.unlock();
    EXPECT_TRUE(second.tryLockExclusive());
    second.close(); // closing lets go too
    EXPECT_TRUE(first.tryLockExclusive());
    first.close();

    const std::filesystem::path journal = dir.path() / "staff.dat-journal";
    EXPECT_FALSE(fileExists(journal.string()));
    writeFileBytes(journal, std::vector<std::uint8_t>{9, 9, 9, 9});
    DataFile created = DataFile::createEmpty(journal.string()); // an old one is emptied
    EXPECT_EQ(created.size(), 0u);
    created.write(std::vector<std::uint8_t>{7});
    created.syncToDisk();
    created.close();
    syncFolder(dir.path().string());
    EXPECT_TRUE(fileExists(journal.string()));
    EXPECT_EQ(readFileBytes(journal), std::vector<std::uint8_t>{7});
    removeFile(journal.string());
    EXPECT_FALSE(fileExists(journal.string()));
    EXPECT_EQ(test::dbErrorOf([&] { removeFile(journal.string()); }), "File not found");
    EXPECT_EQ(readFileBytes(path), (std::vector<std::uint8_t>{1, 2, 3}));
}

} // namespace
} // namespace rostradb
