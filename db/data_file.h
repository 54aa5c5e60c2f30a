#pragma once
// A thin layer over the operating system's files. The game's data files are
// always opened as existing files for reading and writing (never created,
// never truncated), and every call is checked at once: a failure becomes a
// DbError carrying the message the user is shown for that system error.

#include "random_access_file.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace rostradb {

// The message for an operating-system error code (errno on POSIX,
// GetLastError() on Windows): "File not found", "Invalid filename", "Too many
// open files", "File access denied", "Disk full", or "I/O error N".
std::string ioErrorMessage(int errorCode);

// The message a failed open reports. A missing file is "File not found", a
// missing folder on the way to it "Invalid filename": POSIX has one code
// (ENOENT) for both, so the path is looked at; Windows has two.
std::string openErrorMessage(int errorCode, const std::string& path);

// Asks the system to back the whole 2 MB stretches of [start, start +
// bytes) with large pages when they are first touched: a table of several
// megabytes then faults in a few pages instead of thousands. Only advice;
// where there is no such thing it does nothing.
void adviseLargePages(const void* start, std::size_t bytes) noexcept;

inline constexpr const char* kReadBeyondEnd = "Read beyond end of file";
// What ioErrorMessage says for a refused permission, on every platform.
inline constexpr const char* kFileAccessDenied = "File access denied";

class DataFile final : public RandomAccessFile {
public:
    // Opens an existing file for reading and writing.
    static DataFile openExisting(const std::string& path);
    // Creates `path` for reading and writing, emptying a file of that name.
    // Only the save's journal is ever created; the game's files never are.
    static DataFile createEmpty(const std::string& path);

    DataFile(DataFile&& other) noexcept;
    DataFile& operator=(DataFile&& other) noexcept;
    DataFile(const DataFile&) = delete;
    DataFile& operator=(const DataFile&) = delete;
    ~DataFile() override; // closes silently when close() was not called

    std::uint64_t size() const override;
    void seek(std::uint64_t position) override;
    std::uint64_t position() const { return position_; }

    std::size_t readSome(std::span<std::uint8_t> out) override;
    void write(std::span<const std::uint8_t> data) override;
    void syncToDisk() override;
    void close() override;
    LockOutcome tryLock(LockKind kind) override;
    void unlock() override;

    bool isOpen() const { return handle_ != kNoHandle; }

private:
    // A file descriptor on POSIX, a HANDLE on Windows; only the platform's
    // own source file looks inside.
    static constexpr std::intptr_t kNoHandle = -1;
    explicit DataFile(std::intptr_t handle) : handle_(handle) {}
    // Closes without reporting a failure, for the destructor and a move over
    // an open file: the one part of the moves that is the platform's.
    void closeQuietly() noexcept;
    std::intptr_t handle_ = kNoHandle;
    std::uint64_t position_ = 0;
};

// The few things done to the folder around the data files, for the save's
// journal: whether a file is there, deleting one, and flushing the folder so
// that a file's creation or deletion survives a power cut (POSIX needs an
// fsync of the folder for that; Windows commits it with the file). Each
// raises the mapped error.
bool fileExists(const std::string& path);
void removeFile(const std::string& path);
void syncFolder(const std::string& folderPath);

// A program's arguments (without its own name) as UTF-8, the encoding every
// path in the core is in. POSIX hands them over as they are; Windows's argv
// is in the ANSI code page, which cannot hold every file name, so there they
// are read again from the UTF-16 command line.
std::vector<std::string> commandLineArguments(int argc, char** argv);

// Lets standard output pass bytes through unchanged (Windows would turn each
// "\n" into "\r\n"), so that a CSV or JSON written there is byte for byte the
// file -o writes, on every platform.
void useBinaryStandardOutput();

} // namespace rostradb
