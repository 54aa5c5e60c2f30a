#include "file_system.h"

#include "data_file.h"
#include "errors.h"

#include <chrono>
#include <thread>

namespace rostradb {

// The parts of the file layer that are the same on every platform.
void RandomAccessFile::readExact(std::span<std::uint8_t> out)
{
    if (readSome(out) != out.size())
        throw DbError(kReadBeyondEnd);
}

DataFile::DataFile(DataFile&& other) noexcept : handle_(other.handle_), position_(other.position_)
{
    other.handle_ = kNoHandle;
}

DataFile& DataFile::operator=(DataFile&& other) noexcept
{
    if (this != &other) {
        closeQuietly();
        handle_ = other.handle_;
        position_ = other.position_;
        other.handle_ = kNoHandle;
    }
    return *this;
}

DataFile::~DataFile() { closeQuietly(); }

std::unique_ptr<RandomAccessFile> openDataFile(const std::string& path)
{
    return std::make_unique<DataFile>(DataFile::openExisting(path));
}

namespace {

class RealFileSystem final : public FileSystem {
public:
    std::unique_ptr<RandomAccessFile> openExisting(const std::string& path) override { return openDataFile(path); }
    std::unique_ptr<RandomAccessFile> createEmpty(const std::string& path) override
    {
        return std::make_unique<DataFile>(DataFile::createEmpty(path));
    }
    bool exists(const std::string& path) override { return fileExists(path); }
    void remove(const std::string& path) override { removeFile(path); }
    void syncFolder(const std::string& folderPath) override { rostradb::syncFolder(folderPath); }
};

} // namespace

int FileSystem::lockWaitMs() const { return kDefaultLockWaitMs; }

LockOutcome lockWaiting(RandomAccessFile& file, LockKind kind, int waitMs)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point until = Clock::now() + std::chrono::milliseconds(waitMs);
    for (;;) {
        const LockOutcome outcome = file.tryLock(kind);
        if (outcome != LockOutcome::HeldElsewhere || Clock::now() >= until)
            return outcome;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

FileSystem& realFileSystem()
{
    static RealFileSystem files;
    return files;
}

} // namespace rostradb
