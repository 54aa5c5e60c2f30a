#include "test_kill_hook.h"

#include <csignal>
#include <cstdlib>
#include <string>

namespace rostradb::cli {

namespace {

[[noreturn]] void dieNow()
{
#ifdef SIGKILL
    std::raise(SIGKILL);
#endif
    std::_Exit(kTestKillExitCode);
}

class CountedFile final : public RandomAccessFile {
public:
    CountedFile(std::unique_ptr<RandomAccessFile> inner, long& writesLeft)
        : inner_(std::move(inner)), writesLeft_(writesLeft)
    {
    }
    std::uint64_t size() const override { return inner_->size(); }
    void seek(std::uint64_t position) override { inner_->seek(position); }
    std::size_t readSome(std::span<std::uint8_t> out) override { return inner_->readSome(out); }
    void write(std::span<const std::uint8_t> data) override
    {
        if (--writesLeft_ == 0)
            dieNow();
        inner_->write(data);
    }
    void syncToDisk() override { inner_->syncToDisk(); }
    void close() override { inner_->close(); }
    LockOutcome tryLock(LockKind kind) override { return inner_->tryLock(kind); }
    void unlock() override { inner_->unlock(); }

private:
    std::unique_ptr<RandomAccessFile> inner_;
    long& writesLeft_;
};

class KillingFileSystem final : public FileSystem {
public:
    explicit KillingFileSystem(long killAtWrite) : writesLeft_(killAtWrite) {}
    std::unique_ptr<RandomAccessFile> openExisting(const std::string& path) override
    {
        return std::make_unique<CountedFile>(realFileSystem().openExisting(path), writesLeft_);
    }
    std::unique_ptr<RandomAccessFile> createEmpty(const std::string& path) override
    {
        return std::make_unique<CountedFile>(realFileSystem().createEmpty(path), writesLeft_);
    }
    bool exists(const std::string& path) override { return realFileSystem().exists(path); }
    void remove(const std::string& path) override { realFileSystem().remove(path); }
    void syncFolder(const std::string& folderPath) override { realFileSystem().syncFolder(folderPath); }

private:
    long writesLeft_;
};

} // namespace

FileSystem& commandLineFileSystem()
{
    static FileSystem* const files = []() -> FileSystem* {
        const char* value = std::getenv(kTestKillVariable);
        const long n = value ? std::strtol(value, nullptr, 10) : 0;
        if (n <= 0)
            return &realFileSystem();
        static KillingFileSystem killing(n);
        return &killing;
    }();
    return *files;
}

} // namespace rostradb::cli
