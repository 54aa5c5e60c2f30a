#pragma once
// Files that fail on purpose. A FaultyFileSystem passes every call on to the
// real one, but staff.dat's n-th write can fail (storing the whole sectors of
// its first half, as a disk that fills up part-way does) or its flush, and any
// step of a save (a write or flush of any file, a folder flush, a deletion)
// can be the one where the process is killed: Killed is thrown, which no
// handler of the program catches, so nothing is cleaned up or put back.
// Every write is also noted, so a test can see what a save wrote.

#include "db/data_file.h"
#include "db/data_paths.h"
#include "db/errors.h"
#include "db/file_system.h"
#include "db/random_access_file.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string_view>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace rostradb::test {

// Not a std::exception: the program's handlers must not see it.
struct Killed {};

struct KillSwitch {
    int killAtStep = 0;             // 1 = the first step; 0 = never
    std::vector<std::string> steps; // "write staff.dat", "flush staff.dat-journal", "sync folder", ...
    std::function<void(const std::string&)> beforeStep; // e.g. to pause the save there

    // Counts the step; true when the process dies here.
    bool dies(std::string what)
    {
        if (beforeStep)
            beforeStep(what);
        steps.push_back(std::move(what));
        return static_cast<int>(steps.size()) == killAtStep;
    }
};

struct FaultPlan {
    int failAtWrite = 0;      // 1 = the first write fails; 0 = none
    bool keepFailing = false; // every write after that fails too (a disk gone away)
    bool failFlush = false;
    bool noLocks = false;     // a file system that cannot lock (tryLock says Unsupported)
    int error = 0;            // the system's code of the failure (support/system_errors.h)
    struct Write {
        std::uint64_t at;
        std::size_t bytes;
    };
    std::vector<Write> writes; // every write asked for, the failed ones included
    int flushes = 0;
};

class FaultyFile final : public RandomAccessFile {
public:
    FaultyFile(std::unique_ptr<RandomAccessFile> inner, std::string name, FaultPlan& plan, KillSwitch& kill)
        : inner_(std::move(inner)), name_(std::move(name)), plan_(plan), kill_(kill)
    {
    }

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
        const int n = static_cast<int>(plan_.writes.size());
        if (kill_.dies("write " + name_)) {
            inner_->write(data.first(tornLength(data.size())));
            throw Killed{};
        }
        if (n == plan_.failAtWrite || (plan_.keepFailing && plan_.failAtWrite > 0 && n > plan_.failAtWrite)) {
            inner_->write(data.first(tornLength(data.size())));
            throw DbError(ioErrorMessage(plan_.error));
        }
        inner_->write(data);
        position_ += data.size();
    }
    void syncToDisk() override
    {
        ++plan_.flushes;
        if (kill_.dies("flush " + name_))
            throw Killed{};
        if (plan_.failFlush && plan_.flushes == 1)
            throw DbError(ioErrorMessage(plan_.error));
        inner_->syncToDisk();
    }
    void close() override { inner_->close(); }
    LockOutcome tryLock(LockKind kind) override
    {
        return plan_.noLocks ? LockOutcome::Unsupported : inner_->tryLock(kind);
    }
    void unlock() override { inner_->unlock(); }

private:
    // A write cut short stores whole sectors: a disk writes them whole and
    // the kernel copies a write page by page. So a torn write is its bytes up
    // to the last 512-byte boundary of the file before its middle.
    std::size_t tornLength(std::size_t size) const
    {
        const std::uint64_t half = position_ + size / 2;
        const std::uint64_t boundary = half - half % 512;
        return boundary > position_ ? static_cast<std::size_t>(boundary - position_) : 0;
    }

    std::unique_ptr<RandomAccessFile> inner_;
    std::string name_;
    FaultPlan& plan_;
    KillSwitch& kill_;
    std::uint64_t position_ = 0;
};

class FaultyFileSystem final : public FileSystem {
public:
    FaultPlan staff;   // staff.dat
    FaultPlan journal; // staff.dat-journal
    std::map<std::string, FaultPlan> others; // the lookup files and the journals of a save of several files
    KillSwitch kill;
    int failRemoveWith = 0; // errno for every deletion; 0 = they work
    int failCreateWith = 0; // errno for every creation of a file
    int failSyncFolderWith = 0; // errno for every folder flush
    int lockWait = 100;         // milliseconds: tests need not wait long for a lock held on purpose

    int lockWaitMs() const override { return lockWait; }

    std::unique_ptr<RandomAccessFile> openExisting(const std::string& path) override
    {
        return wrap(realFileSystem().openExisting(path), path);
    }
    std::unique_ptr<RandomAccessFile> createEmpty(const std::string& path) override
    {
        if (failCreateWith != 0)
            throw DbError(ioErrorMessage(failCreateWith));
        return wrap(realFileSystem().createEmpty(path), path);
    }
    bool exists(const std::string& path) override { return realFileSystem().exists(path); }
    void remove(const std::string& path) override
    {
        if (kill.dies("remove " + baseName(path)))
            throw Killed{};
        if (failRemoveWith != 0)
            throw DbError(ioErrorMessage(failRemoveWith));
        realFileSystem().remove(path);
    }
    void syncFolder(const std::string& folderPath) override
    {
        if (kill.dies("sync folder"))
            throw Killed{};
        if (failSyncFolderWith != 0)
            throw DbError(ioErrorMessage(failSyncFolderWith));
        realFileSystem().syncFolder(folderPath);
    }

private:
    // The save builds its paths with the platform's separator ('\\' on
    // Windows), so the file name follows the last of those.
    static std::string baseName(const std::string& path)
    {
        return path.substr(path.find_last_of(kPathSeparator) + 1);
    }
    static bool isLookupOrSetJournal(const std::string& name)
    {
        for (const std::string_view file : {datafile::kNations, datafile::kFirstNames, datafile::kSecondNames,
                                            datafile::kCommonNames, datafile::kClubs, datafile::kStaff})
            if (name == file || name == std::string(file) + "-mjournal")
                return name != datafile::kStaff;
        return name == "rostradb-save.master";
    }
    // Only staff.dat and its journal go through the file system. Any other
    // name means the name was taken wrongly, and no fault planned for either
    // file would ever be injected: say so rather than let a test pass idle.
    std::unique_ptr<RandomAccessFile> wrap(std::unique_ptr<RandomAccessFile> file, const std::string& path)
    {
        const std::string name = baseName(path);
        if (name == datafile::kStaff)
            return std::make_unique<FaultyFile>(std::move(file), name, staff, kill);
        if (name == datafile::kStaffJournal)
            return std::make_unique<FaultyFile>(std::move(file), name, journal, kill);
        if (isLookupOrSetJournal(name))
            return std::make_unique<FaultyFile>(std::move(file), name, others[name], kill);
        throw std::logic_error("FaultyFileSystem: no plan for " + path);
    }
};

} // namespace rostradb::test
