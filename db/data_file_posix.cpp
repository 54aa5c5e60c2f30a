#include "data_file.h"

#include "errors.h"

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace rostradb {

namespace {

[[noreturn]] void throwSystemError(int errorCode) { throw DbError(ioErrorMessage(errorCode)); }

bool parentFolderExists(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return true; // relative to the current folder, which exists
    const std::string parent = slash == 0 ? "/" : path.substr(0, slash);
    struct stat info {};
    return ::stat(parent.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

std::string ioErrorMessage(int errorCode)
{
    switch (errorCode) {
    case ENOENT:
        return "File not found";
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return "Invalid filename";
    case EMFILE:
    case ENFILE:
        return "Too many open files";
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
        return "File access denied";
    case ENOSPC:
    case EDQUOT:
        return "Disk full";
    default:
        return "I/O error " + std::to_string(errorCode);
    }
}

std::string openErrorMessage(int errorCode, const std::string& path)
{
    if (errorCode == ENOENT && !parentFolderExists(path))
        return "Invalid filename";
    return ioErrorMessage(errorCode);
}

DataFile DataFile::openExisting(const std::string& path)
{
    // No O_CREAT and no O_TRUNC: the game's files are rewritten in place.
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        throw DbError(openErrorMessage(errno, path));
    return DataFile(fd);
}

DataFile DataFile::createEmpty(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        throw DbError(openErrorMessage(errno, path));
    return DataFile(fd);
}

void DataFile::closeQuietly() noexcept
{
    if (handle_ != kNoHandle)
        ::close(static_cast<int>(handle_));
    handle_ = kNoHandle;
}

std::uint64_t DataFile::size() const
{
    struct stat info {};
    if (::fstat(static_cast<int>(handle_), &info) != 0)
        throwSystemError(errno);
    return static_cast<std::uint64_t>(info.st_size);
}

void DataFile::seek(std::uint64_t position)
{
    if (::lseek(static_cast<int>(handle_), static_cast<off_t>(position), SEEK_SET) < 0)
        throwSystemError(errno);
    position_ = position;
}

std::size_t DataFile::readSome(std::span<std::uint8_t> out)
{
    std::size_t done = 0;
    while (done < out.size()) {
        const ssize_t n = ::read(static_cast<int>(handle_), out.data() + done, out.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throwSystemError(errno);
        }
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    position_ += done;
    return done;
}

void DataFile::write(std::span<const std::uint8_t> data)
{
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(static_cast<int>(handle_), data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throwSystemError(errno);
        }
        if (n == 0)
            throwSystemError(ENOSPC);
        done += static_cast<std::size_t>(n);
    }
    position_ += done;
}

void DataFile::syncToDisk()
{
    if (::fsync(static_cast<int>(handle_)) != 0)
        throwSystemError(errno);
}

void DataFile::close()
{
    const int fd = static_cast<int>(handle_);
    handle_ = kNoHandle;
    // A failed close can mean lost data on some file systems: report it,
    // and never retry (the descriptor is gone either way).
    if (fd >= 0 && ::close(fd) != 0 && errno != EINTR)
        throwSystemError(errno);
}

LockOutcome DataFile::tryLock(LockKind kind)
{
    // flock, not fcntl: an fcntl lock belongs to the process and vanishes
    // when any descriptor of the file is closed (the loader's, say).
    const int operation = kind == LockKind::Exclusive ? LOCK_EX : LOCK_SH;
    while (::flock(static_cast<int>(handle_), operation | LOCK_NB) != 0) {
        if (errno == EINTR)
            continue;
        if (errno == EWOULDBLOCK)
            return LockOutcome::HeldElsewhere;
        // Some network file systems have no locks at all.
        if (errno == ENOLCK || errno == EOPNOTSUPP || errno == ENOSYS)
            return LockOutcome::Unsupported;
        throwSystemError(errno);
    }
    return LockOutcome::Taken;
}

void DataFile::unlock()
{
    if (::flock(static_cast<int>(handle_), LOCK_UN) != 0)
        throwSystemError(errno);
}

bool fileExists(const std::string& path)
{
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0)
        return true;
    if (errno == ENOENT || errno == ENOTDIR)
        return false;
    throwSystemError(errno);
}

void removeFile(const std::string& path)
{
    if (::unlink(path.c_str()) != 0)
        throwSystemError(errno);
}

void syncFolder(const std::string& folderPath)
{
    const int fd = ::open(folderPath.empty() ? "." : folderPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        throwSystemError(errno);
    const int synced = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    // Some file systems cannot flush a folder and say so; their entries are
    // written with the data, so that is no failure.
    if (synced != 0 && error != EINVAL && error != ENOTSUP)
        throwSystemError(error);
}

std::vector<std::string> commandLineArguments(int argc, char** argv)
{
    return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>{};
}

void useBinaryStandardOutput() {}

void adviseLargePages(const void* start, std::size_t bytes) noexcept
{
#ifdef MADV_HUGEPAGE
    constexpr std::uintptr_t kLargePage = std::uintptr_t{2} << 20;
    const auto first = reinterpret_cast<std::uintptr_t>(start);
    const std::uintptr_t begin = (first + kLargePage - 1) & ~(kLargePage - 1);
    const std::uintptr_t end = (first + bytes) & ~(kLargePage - 1);
    if (end > begin)
        ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE); // advice: a refusal changes nothing
#else
    (void)start;
    (void)bytes;
#endif
}

} // namespace rostradb
