#pragma once
// Makes a file impossible to open for writing for as long as the guard lives.
//
// For an ordinary user clearing the write bits is enough, but root ignores
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
