#pragma once
// A file that fails on purpose: it passes every call on to a real file until
// the n-th write (which stores the first half of its bytes, as a disk that
// fills up part-way does, and then fails) or the flush. It also writes down
// where each write went, so a test can see which records a save wrote.

#include "db/data_file.h"
#include "db/errors.h"
#include "db/random_access_file.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace rostradb::test {

struct FaultPlan {
    int failAtWrite = 0;   // 1 = the first write fails; 0 = none
    bool failFlush = false;
    int error = 0;         // the system's code of the failure (support/system_errors.h)
    struct Write {
        std::uint64_t at;
        std::size_t bytes;
    };
    std::vector<Write> writes; // every write asked for, the failed one included
    int flushes = 0;
};

class FaultyFile final : public RandomAccessFile {
public:
    FaultyFile(std::unique_ptr<RandomAccessFile> inner, FaultPlan& plan) : inner_(std::move(inner)), plan_(plan) {}

    std::uint64_t size() const override { return inner_->size(); }
    void seek(std::uint64_t position) override
    {
        inner_->seek(position);
        position_ = position;
    }
    std::size_t readSome(std::span<std::uint8_t> out) override
    {
        const std::size_t n = inner_->readSome(out);
        position_ += n;
        return n;
    }
    void write(std::span<const std::uint8_t> data) override
    {
        plan_.writes.push_back({position_, data.size()});
        if (static_cast<int>(plan_.writes.size()) == plan_.failAtWrite) {
            inner_->write(data.first(data.size() / 2));
            throw DbError(ioErrorMessage(plan_.error));
        }
        inner_->write(data);
        position_ += data.size();
    }
    void syncToDisk() override
    {
        ++plan_.flushes;
        if (plan_.failFlush && plan_.flushes == 1)
            throw DbError(ioErrorMessage(plan_.error));
        inner_->syncToDisk();
    }
    void close() override { inner_->close(); }

private:
    std::unique_ptr<RandomAccessFile> inner_;
    FaultPlan& plan_;
    std::uint64_t position_ = 0;
};

inline FileOpener faultyOpener(FaultPlan& plan)
{
    return [&plan](const std::string& path) -> std::unique_ptr<RandomAccessFile> {
        return std::make_unique<FaultyFile>(openDataFile(path), plan);
    };
}

} // namespace rostradb::test
