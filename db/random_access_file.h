#pragma once
// What the staff-file writer needs of a file: position, read, write, flush
// and close, each checked. DataFile is the real one; tests hand the writer a
// file that fails on purpose (the n-th write, the flush) to prove that a
// failed save puts every byte back.

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace rostradb {

enum class LockKind { Shared, Exclusive };
enum class LockOutcome { Taken, HeldElsewhere, Unsupported };

class RandomAccessFile {
public:
    virtual ~RandomAccessFile() = default;

    virtual std::uint64_t size() const = 0;
    virtual void seek(std::uint64_t position) = 0;
    // Reads up to out.size() bytes at the current position and returns how
    // many arrived; fewer means the file ended.
    virtual std::size_t readSome(std::span<std::uint8_t> out) = 0;
    // Writes all of data at the current position or raises the mapped error.
    virtual void write(std::span<const std::uint8_t> data) = 0;
    // Forces what was written onto the disk (fsync).
    virtual void syncToDisk() = 0;
    // Closes the file, reporting a failed close.
    virtual void close() = 0;

    // Takes an advisory lock on the whole file without waiting (flock on
    // POSIX, LockFileEx on Windows): Shared for a reader, which many may
    // hold at once, Exclusive for the one writer. Only rostradb asks for
    // it, so that a save never runs beside another save or a reader; the
    // game and other programs are not kept out. HeldElsewhere: another
    // process holds a lock that excludes this one. Unsupported: the file
    // system has no locks (some network shares). The lock goes with
    // unlock() or close().
    virtual LockOutcome tryLock(LockKind kind)
    {
        (void)kind;
        return LockOutcome::Taken;
    }
    virtual void unlock() {}
    bool tryLockExclusive() { return tryLock(LockKind::Exclusive) != LockOutcome::HeldElsewhere; }

    // Reads exactly out.size() bytes or raises "Read beyond end of file".
    void readExact(std::span<std::uint8_t> out);
};

// Opens an existing data file (a DataFile) for reading and writing; raises
// the file's error.
std::unique_ptr<RandomAccessFile> openDataFile(const std::string& path);

} // namespace rostradb
