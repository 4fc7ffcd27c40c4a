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

    // Sets or clears the immutable flag of a file or folder.
    static bool SetImmutable(const std::string &Path, bool On)
    {
        const int fd = ::open(Path.c_str(), O_RDONLY | O_CLOEXEC);
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

private:
    bool SetImmutable(bool On) { return SetImmutable(FPath, On); }

    std::string FPath;
    bool FImmutable = false;
    bool FOk = false;
};

// A folder that takes no new name (its files stay writable), for as long as
// the object lives: without write permission, or immutable for root. Ok()
// tells whether a new file is refused there; a test skips otherwise.
class TSealedFolder {
public:
    explicit TSealedFolder(std::string Path) : FPath(std::move(Path))
    {
        ::chmod(FPath.c_str(), 0555);
        if (::geteuid() == 0)
            FImmutable = TReadOnlyFile::SetImmutable(FPath, true);
        const std::string probe = FPath + "/probe";
        const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0) {
            ::close(fd);
            ::unlink(probe.c_str());
        }
        FOk = fd < 0;
    }
    ~TSealedFolder()
    {
        if (FImmutable)
            TReadOnlyFile::SetImmutable(FPath, false);
        ::chmod(FPath.c_str(), 0755);
    }
    TSealedFolder(const TSealedFolder &) = delete;
    TSealedFolder &operator=(const TSealedFolder &) = delete;

    bool Ok() const { return FOk; }

private:
    std::string FPath;
    bool FImmutable = false;
    bool FOk = false;
};
