// index.dat: 22 entries of 67 bytes after an 8-byte header, read exactly as
// they lie in the file, and looked up by position.

#include "db/errors.h"
#include "db/table_directory.h"
#include "support/error_text.h"
#include "support/index_file.h"
#include "support/read_only_file.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace rostradb {
namespace {

using test::dbErrorOf;
using test::IndexFileBuilder;

class TableDirectoryTest : public ::testing::Test {
protected:
    void writeIndex(const std::vector<std::uint8_t>& bytes) { test::writeFileBytes(path, bytes); }

    // Every entry must be the 67 file bytes at its place, unchanged.
    void expectEntriesMatchFile(const std::vector<std::uint8_t>& file, std::size_t count)
    {
        ASSERT_EQ(directory.size(), count);
        for (std::size_t i = 0; i < count; ++i) {
            const auto start = file.begin() + static_cast<std::ptrdiff_t>(IndexFileBuilder::entryStart(i));
            EXPECT_TRUE(std::equal(directory.at(i).bytes.begin(), directory.at(i).bytes.end(), start))
                << "entry " << i;
        }
    }

    test::TempDir dir;
    std::filesystem::path path = dir.path() / "index.dat";
    TableDirectory directory;
};

TEST_F(TableDirectoryTest, KeepsEveryByteOfEachEntryAndIgnoresTheHeaderAndTheRest)
{
    IndexFileBuilder index;
    index.raw().pattern(0, IndexFileBuilder::kFileBytes, 3);
    index.entry(7, 0x00012345, 0x0A0B0C0D).entry(21, 0, 0xFFFFFFFF);

    for (std::size_t extra : {0, 1, 700}) {
        for (std::uint32_t headerSeed : {11u, 12u}) {
            SCOPED_TRACE("extra bytes " + std::to_string(extra) + ", header " + std::to_string(headerSeed));
            test::ByteBuilder file = index.raw();
            file.pattern(0, IndexFileBuilder::kHeaderBytes, headerSeed);
            file.pattern(IndexFileBuilder::kFileBytes, extra, headerSeed);
            writeIndex(file.bytes());

            directory.clear();
            directory.read(path.string());
            expectEntriesMatchFile(index.bytes(), IndexFileBuilder::kEntryCount);
            EXPECT_EQ(directory.at(7).lastIndex(), 0x00012345u);
            EXPECT_EQ(directory.at(7).offset(), 0x0A0B0C0Du);
            EXPECT_EQ(directory.at(21).lastIndex(), 0u);
            EXPECT_EQ(directory.at(21).recordCount(), 1u);
            EXPECT_EQ(directory.at(21).offset(), 0xFFFFFFFFu);
        }
    }
}

TEST_F(TableDirectoryTest, LastIndexOfAllOnesAnnouncesTwoToTheThirtySecondRecords)
{
    IndexFileBuilder index;
    index.entry(0, 0xFFFFFFFF);
    writeIndex(index.bytes());
    directory.read(path.string());
    EXPECT_EQ(directory.at(0).recordCount(), std::uint64_t{1} << 32);
}

TEST_F(TableDirectoryTest, FileEndingInsideTheEntriesKeepsTheCompleteOnesAndReportsTheEnd)
{
    IndexFileBuilder index;
    index.raw().pattern(0, IndexFileBuilder::kFileBytes, 5);
    const struct {
        std::size_t length;
        std::size_t completeEntries;
    } cases[] = {
        {IndexFileBuilder::kFileBytes - 1, 21},
        {IndexFileBuilder::entryStart(5) + 10, 5},
        {IndexFileBuilder::entryStart(5), 5},
        {IndexFileBuilder::kHeaderBytes + 1, 0},
        {IndexFileBuilder::kHeaderBytes, 0},
        {3, 0},
        {0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("file of " + std::to_string(c.length) + " bytes");
        std::vector<std::uint8_t> file = index.bytes();
        file.resize(c.length);
        writeIndex(file);

        directory.clear();
        EXPECT_EQ(dbErrorOf([&] { directory.read(path.string()); }), "Read beyond end of file");
        expectEntriesMatchFile(index.bytes(), c.completeEntries);
    }
}

TEST_F(TableDirectoryTest, UnopenableFileLeavesTheDirectoryEmpty)
{
    EXPECT_EQ(dbErrorOf([&] { directory.read(path.string()); }), "File not found");
    EXPECT_TRUE(directory.empty());

    EXPECT_EQ(dbErrorOf([&] { directory.read((dir.path() / "data" / "index.dat").string()); }), "Invalid filename");
    EXPECT_TRUE(directory.empty());

    writeIndex(IndexFileBuilder().bytes());
    test::ReadOnlyFile readOnly(path);
    if (!readOnly.holds())
        GTEST_SKIP() << "cannot make a file read-only here";
    EXPECT_EQ(dbErrorOf([&] { directory.read(path.string()); }), "File access denied");
    EXPECT_TRUE(directory.empty());
}

TEST_F(TableDirectoryTest, LookupBeyondTheEntriesHeldNamesThePosition)
{
    EXPECT_EQ(dbErrorOf([&] { directory.at(0); }), "List index out of bounds (0)");
    EXPECT_EQ(dbErrorOf([&] { directory.at(4); }), "List index out of bounds (4)");

    writeIndex(IndexFileBuilder().entry(21, 9).bytes());
    directory.read(path.string());
    EXPECT_EQ(directory.at(21).lastIndex(), 9u);
    EXPECT_EQ(dbErrorOf([&] { directory.at(22); }), "List index out of bounds (22)");
}

} // namespace
} // namespace rostradb
