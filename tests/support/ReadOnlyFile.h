#pragma once
// Makes a file that this process can read but not open for writing, for as
// long as the object lives. For an ordinary user taking the write
// permission away does it; root writes such files anyway, so for root the
// file is made immutable (the filesystem must allow it). Ok() tells whether
// it worked; a test skips otherwise, saying so.

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

class TReadOnlyFile {
public:
    explicit TReadOnlyFile(std::string Path) : FPath(std::move(Path))
    {
        ::chmod(FPath.c_str(), 0444);
        if (::geteuid() == 0)
            FImmutable = SetImmutable(true);
        const int fd = ::open(FPath.c_str(), O_RDWR | O_CLOEXEC);
        if (fd >= 0)
            ::close(fd);
        FOk = fd < 0 && ::access(FPath.c_str(), R_OK) == 0;
    }
    ~TReadOnlyFile()
    {
        if (FImmutable)
            SetImmutable(false);
        ::chmod(FPath.c_str(), 0644);
    }
    TReadOnlyFile(const TReadOnlyFile &) = delete;
    TReadOnlyFile &operator=(const TReadOnlyFile &) = delete;

    bool Ok() const { return FOk; }
    const std::string &Path() const { return FPath; }

private:
    bool SetImmutable(bool On)
    {
        const int fd = ::open(FPath.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return false;
        int flags = 0;
        bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        if (done) {
            flags = On ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
            done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        ::close(fd);
        return done;
    }

    std::string FPath;
    bool FImmutable = false;
    bool FOk = false;
};
