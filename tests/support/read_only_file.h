#pragma once
// Makes a file impossible to open for writing for as long as the guard lives.
//
// On Windows that is the file's read-only attribute, which holds for every
// user. Where it does not (Wine run as root keeps the attribute as file
// modes, which root ignores), the guard instead holds the file open shared
// for reading only, as a running game holds its files; Windows then refuses
// any writable open of it too. On Linux, for an ordinary user clearing the write bits is enough, but root ignores
// file modes, and the tests run as root in CI. There the file is marked
// immutable instead (the flag behind `chattr +i`), which refuses a writable
// open even to root. The guard checks that the file really cannot be opened
// for writing; holds() is false only when neither way works on this system,
// and the caller should then skip its test. The destructor undoes the change,
// so the temporary folder can be removed afterwards: declare the guard after
// the folder that holds the file.

#include <cerrno>
#include <filesystem>
#include <string>
#include <utility>

#ifdef _WIN32

#include "support/windows_api.h"

namespace rostradb::test {

class ReadOnlyFile {
public:
    explicit ReadOnlyFile(std::filesystem::path path) : path_(std::move(path))
    {
        namespace fs = std::filesystem;
        std::error_code error;
        // Taking every write permission away sets the read-only attribute.
        fs::permissions(path_, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove, error);
        if (!error && !openableForWriting()) {
            holds_ = true;
            return;
        }
        fs::permissions(path_, fs::perms::owner_write, fs::perm_options::add, error);
        holder_ = ::CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
        holds_ = holder_ != INVALID_HANDLE_VALUE && !openableForWriting();
    }
    ~ReadOnlyFile()
    {
        if (holder_ != INVALID_HANDLE_VALUE)
            ::CloseHandle(holder_);
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_write, std::filesystem::perm_options::add,
                                     ignored);
    }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    bool holds() const { return holds_; }

private:
    bool openableForWriting() const
    {
        const HANDLE handle = ::CreateFileW(path_.c_str(), GENERIC_READ | GENERIC_WRITE,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE)
            return false;
        ::CloseHandle(handle);
        return true;
    }

    std::filesystem::path path_;
    HANDLE holder_ = INVALID_HANDLE_VALUE;
    bool holds_ = false;
};

} // namespace rostradb::test

#else

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace rostradb::test {

class ReadOnlyFile {
public:
    explicit ReadOnlyFile(std::filesystem::path path) : path_(std::move(path))
    {
        struct stat info {};
        if (::stat(path_.c_str(), &info) != 0)
            return;
        originalMode_ = info.st_mode & 07777;

        if (::chmod(path_.c_str(), 0444) == 0) {
            if (!openableForWriting()) {
                how_ = How::Mode;
                return;
            }
            ::chmod(path_.c_str(), originalMode_);
        }
        if (setImmutable(true)) {
            if (!openableForWriting()) {
                how_ = How::Immutable;
                return;
            }
            setImmutable(false);
        }
    }

    ~ReadOnlyFile()
    {
        if (how_ == How::Mode)
            ::chmod(path_.c_str(), originalMode_);
        else if (how_ == How::Immutable)
            setImmutable(false);
    }

    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    bool holds() const { return how_ != How::None; }

private:
    enum class How { None, Mode, Immutable };

    bool openableForWriting() const
    {
        const int fd = ::open(path_.c_str(), O_RDWR | O_CLOEXEC);
        if (fd < 0)
            return false;
        ::close(fd);
        return true;
    }

    bool setImmutable(bool on) const
    {
        const int fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return false;
        int flags = 0;
        bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        if (done) {
            flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
            done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        ::close(fd);
        return done;
    }

    std::filesystem::path path_;
    mode_t originalMode_ = 0644;
    How how_ = How::None;
};

} // namespace rostradb::test

#endif
