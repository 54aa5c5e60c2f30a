#include "data_file.h"

#include "errors.h"

#include <algorithm>
#include <limits>
#include <string>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cstdio>

namespace rostradb {

namespace {

[[noreturn]] void throwSystemError(DWORD errorCode) { throw DbError(ioErrorMessage(static_cast<int>(errorCode))); }

[[noreturn]] void throwLastError() { throwSystemError(::GetLastError()); }

HANDLE asHandle(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

// Paths reach the core as UTF-8 (the command line converts its arguments,
// Qt hands over UTF-8); Windows wants UTF-16. Bytes that are not UTF-8 can
// name no file.
std::wstring widePath(const std::string& path)
{
    if (path.empty())
        return {};
    if (path.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()))
        throw DbError(ioErrorMessage(ERROR_FILENAME_EXCED_RANGE));
    const int narrowLength = static_cast<int>(path.size());
    const int wideLength = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.data(), narrowLength, nullptr, 0);
    if (wideLength <= 0)
        throw DbError(ioErrorMessage(ERROR_INVALID_NAME));
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.data(), narrowLength, wide.data(), wideLength);
    return wide;
}

// Shared for reading and writing so that the game, a second rostradb or a
// virus scanner can keep the file open beside us, and for deletion so that
// the save's journal can be removed while a reader still holds it, as on
// POSIX.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

std::intptr_t openHandle(const std::string& path, DWORD disposition)
{
    const std::wstring wide = widePath(path);
    const HANDLE handle = ::CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr, disposition,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        throw DbError(openErrorMessage(static_cast<int>(::GetLastError()), path));
    return reinterpret_cast<std::intptr_t>(handle);
}

// Windows locks are mandatory: a locked range refuses reads and writes
// through every other handle, the game's and our own loader's included. The
// writers' lock therefore covers one byte far beyond the end of any data
// file (Windows lets a lock lie past the end), where it stops only another
// writer asking for the same byte, like flock's advisory lock on POSIX.
constexpr DWORD kLockOffsetLow = 0xFFFFFFFEu;
constexpr DWORD kLockOffsetHigh = 0x7FFFFFFFu;

OVERLAPPED lockRange()
{
    OVERLAPPED range{};
    range.Offset = kLockOffsetLow;
    range.OffsetHigh = kLockOffsetHigh;
    return range;
}

// Windows frees the locks of a closed handle only "in time", so a writer
// that closes the file and a second one that locks it at once could find
// the lock still held. The lock is given back first; a handle that held
// none just says ERROR_NOT_LOCKED.
BOOL unlockAndClose(HANDLE handle)
{
    OVERLAPPED range = lockRange();
    ::UnlockFileEx(handle, 0, 1, 0, &range);
    return ::CloseHandle(handle);
}

// ERROR_DISK_QUOTA_EXCEEDED, which mingw-w64's headers lack.
constexpr int kDiskQuotaExceeded = 1295;

} // namespace

std::string ioErrorMessage(int errorCode)
{
    switch (errorCode) {
    case ERROR_FILE_NOT_FOUND:
        return "File not found";
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_DIRECTORY:
        return "Invalid filename";
    case ERROR_TOO_MANY_OPEN_FILES:
        return "Too many open files";
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return "File access denied";
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
    case kDiskQuotaExceeded:
        return "Disk full";
    default:
        return "I/O error " + std::to_string(errorCode);
    }
}

// Windows tells a missing folder (ERROR_PATH_NOT_FOUND) from a missing file
// itself. A name longer than any Windows file system allows is not a file
// that could be missing, though some systems (Wine) report it so.
std::string openErrorMessage(int errorCode, const std::string& path)
{
    constexpr std::size_t kLongestName = 255; // UTF-16 units, NTFS and FAT alike
    if (errorCode == ERROR_FILE_NOT_FOUND) {
        const std::size_t separator = path.find_last_of("\\/");
        const std::string name = separator == std::string::npos ? path : path.substr(separator + 1);
        if (name.size() > kLongestName && widePath(name).size() > kLongestName)
            return ioErrorMessage(ERROR_INVALID_NAME);
    }
    return ioErrorMessage(errorCode);
}

DataFile DataFile::openExisting(const std::string& path)
{
    // OPEN_EXISTING: the game's files are rewritten in place, never created
    // nor truncated.
    return DataFile(openHandle(path, OPEN_EXISTING));
}

DataFile DataFile::createEmpty(const std::string& path) { return DataFile(openHandle(path, CREATE_ALWAYS)); }

void DataFile::closeQuietly() noexcept
{
    if (handle_ != kNoHandle)
        unlockAndClose(asHandle(handle_));
    handle_ = kNoHandle;
}

std::uint64_t DataFile::size() const
{
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(asHandle(handle_), &size))
        throwLastError();
    return static_cast<std::uint64_t>(size.QuadPart);
}

void DataFile::seek(std::uint64_t position)
{
    LARGE_INTEGER to{};
    to.QuadPart = static_cast<LONGLONG>(position);
    if (!::SetFilePointerEx(asHandle(handle_), to, nullptr, FILE_BEGIN))
        throwLastError();
    position_ = position;
}

// ReadFile and WriteFile take a DWORD count; larger spans go in pieces.
constexpr std::size_t kLargestTransfer = 1u << 30;

std::size_t DataFile::readSome(std::span<std::uint8_t> out)
{
    std::size_t done = 0;
    while (done < out.size()) {
        const DWORD want = static_cast<DWORD>(std::min(out.size() - done, kLargestTransfer));
        DWORD got = 0;
        if (!::ReadFile(asHandle(handle_), out.data() + done, want, &got, nullptr)) {
            const DWORD error = ::GetLastError();
            if (error == ERROR_HANDLE_EOF)
                break;
            throwSystemError(error);
        }
        if (got == 0)
            break;
        done += got;
    }
    position_ += done;
    return done;
}

void DataFile::write(std::span<const std::uint8_t> data)
{
    std::size_t done = 0;
    while (done < data.size()) {
        const DWORD want = static_cast<DWORD>(std::min(data.size() - done, kLargestTransfer));
        DWORD wrote = 0;
        if (!::WriteFile(asHandle(handle_), data.data() + done, want, &wrote, nullptr))
            throwLastError();
        if (wrote == 0)
            throwSystemError(ERROR_DISK_FULL);
        done += wrote;
    }
    position_ += done;
}

void DataFile::syncToDisk()
{
    if (!::FlushFileBuffers(asHandle(handle_)))
        throwLastError();
}

void DataFile::close()
{
    const HANDLE handle = asHandle(handle_);
    const bool wasOpen = handle_ != kNoHandle;
    handle_ = kNoHandle;
    if (wasOpen && !unlockAndClose(handle))
        throwLastError();
}

LockOutcome DataFile::tryLock(LockKind kind)
{
    OVERLAPPED range = lockRange();
    const DWORD exclusive = kind == LockKind::Exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0;
    if (::LockFileEx(asHandle(handle_), exclusive | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &range))
        return LockOutcome::Taken;
    const DWORD error = ::GetLastError();
    if (error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING)
        return LockOutcome::HeldElsewhere;
    // Some network redirectors and file systems have no byte-range locks.
    if (error == ERROR_NOT_SUPPORTED || error == ERROR_INVALID_FUNCTION)
        return LockOutcome::Unsupported;
    throwSystemError(error);
}

void DataFile::unlock()
{
    OVERLAPPED range = lockRange();
    if (!::UnlockFileEx(asHandle(handle_), 0, 1, 0, &range))
        throwLastError();
}

bool fileExists(const std::string& path)
{
    const std::wstring wide = widePath(path);
    if (::GetFileAttributesW(wide.c_str()) != INVALID_FILE_ATTRIBUTES)
        return true;
    const DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
        return false;
    throwSystemError(error);
}

void removeFile(const std::string& path)
{
    const std::wstring wide = widePath(path);
    if (!::DeleteFileW(wide.c_str()))
        throwLastError();
}

// Best effort. NTFS records a file's creation and deletion in its own
// metadata journal, and FlushFileBuffers on the file commits its directory
// entry with it, so Windows has no folder fsync as POSIX has. Where the file
// system lets us, the folder's handle is flushed as well; a refusal there is
// no failure. A missing folder, or a file in its place, still raises its
// error, as on POSIX.
void syncFolder(const std::string& folderPath)
{
    const std::wstring wide = widePath(folderPath.empty() ? std::string(".") : folderPath);
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        throwLastError();
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        throwSystemError(ERROR_DIRECTORY);
    const HANDLE folder = ::CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (folder == INVALID_HANDLE_VALUE)
        return;
    ::FlushFileBuffers(folder);
    ::CloseHandle(folder);
}

std::vector<std::string> commandLineArguments(int /*argc*/, char** /*argv*/)
{
    int count = 0;
    LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (wide == nullptr)
        throwLastError();
    std::vector<std::string> arguments;
    for (int i = 1; i < count; ++i) {
        const int length = ::WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        std::string utf8(static_cast<std::size_t>(length > 0 ? length : 1), '\0');
        ::WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, utf8.data(), length, nullptr, nullptr);
        utf8.pop_back(); // the terminating zero
        arguments.push_back(std::move(utf8));
    }
    ::LocalFree(wide);
    return arguments;
}

void useBinaryStandardOutput() { ::_setmode(::_fileno(stdout), _O_BINARY); }

// Windows has large pages only for programs given the right to lock memory,
// and only by allocating them so: nothing to advise.
void adviseLargePages(const void*, std::size_t) noexcept {}

} // namespace rostradb
