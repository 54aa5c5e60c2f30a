#pragma once
// A file system for the save benchmarks.

#include "db/file_system.h"

#include <memory>
#include <span>
#include <string>

namespace bench {

// The real file system, counting the flushes of files and folders: the
// part of a save's time that depends on the disk rather than on us.
class CountingFileSystem final : public rostradb::FileSystem {
public:
    class File final : public rostradb::RandomAccessFile {
    public:
        File(std::unique_ptr<rostradb::RandomAccessFile> inner, int& flushes)
            : inner_(std::move(inner)), flushes_(flushes)
        {
        }
        std::uint64_t size() const override { return inner_->size(); }
        void seek(std::uint64_t position) override { inner_->seek(position); }
        std::size_t readSome(std::span<std::uint8_t> out) override { return inner_->readSome(out); }
        void write(std::span<const std::uint8_t> data) override { inner_->write(data); }
        void syncToDisk() override
        {
            ++flushes_;
            inner_->syncToDisk();
        }
        void close() override { inner_->close(); }
        rostradb::LockOutcome tryLock(rostradb::LockKind kind) override { return inner_->tryLock(kind); }
        void unlock() override { inner_->unlock(); }

    private:
        std::unique_ptr<rostradb::RandomAccessFile> inner_;
        int& flushes_;
    };

    std::unique_ptr<rostradb::RandomAccessFile> openExisting(const std::string& path) override
    {
        return std::make_unique<File>(real().openExisting(path), flushes);
    }
    std::unique_ptr<rostradb::RandomAccessFile> createEmpty(const std::string& path) override
    {
        return std::make_unique<File>(real().createEmpty(path), flushes);
    }
    bool exists(const std::string& path) override { return real().exists(path); }
    void remove(const std::string& path) override { real().remove(path); }
    void syncFolder(const std::string& folderPath) override
    {
        ++flushes;
        real().syncFolder(folderPath);
    }
    int flushes = 0;

private:
    static rostradb::FileSystem& real() { return rostradb::realFileSystem(); }
};

} // namespace bench
