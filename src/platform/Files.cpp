#include "Files.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

class TFd {
public:
    explicit TFd(int Fd = -1) : FFd(Fd) {}
    ~TFd()
    {
        if (FFd >= 0)
            ::close(FFd);
    }
    TFd(TFd &&Other) noexcept : FFd(Other.Release()) {}
    TFd &operator=(TFd &&Other) noexcept
    {
        if (this != &Other) {
            if (FFd >= 0)
                ::close(FFd);
            FFd = Other.Release();
        }
        return *this;
    }
    int Get() const { return FFd; }
    int Release() { return std::exchange(FFd, -1); }
    // Closes now, so that an error of the close itself is seen.
    int Close() { return ::close(std::exchange(FFd, -1)); }

private:
    int FFd;
};

bool WriteAll(int Fd, std::string_view Bytes)
{
    std::size_t done = 0;
    while (done < Bytes.size()) {
        const ssize_t n = ::write(Fd, Bytes.data() + done, Bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        done += std::size_t(n);
    }
    return true;
}

// The file a write lands on: a link is followed, so that replacing the file
// does not replace the link.
std::string WriteTarget(const std::string &Path)
{
    char *real = ::realpath(Path.c_str(), nullptr);
    if (!real)
        return Path;
    std::string out(real);
    std::free(real);
    return out;
}

std::string FolderOf(const std::string &Path)
{
    const std::size_t slash = Path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : Path.substr(0, slash);
}

} // namespace

int OpenRegularFile(const std::string &Path, int Flags, unsigned Mode)
{
    // Non-blocking, so that a FIFO opens (or fails) at once instead of
    // waiting for its other end; the type is checked before anything is read.
    TFd fd(::open(Path.c_str(), Flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, Mode));
    if (fd.Get() < 0)
        return -1;
    struct stat st = {};
    if (::fstat(fd.Get(), &st) != 0)
        return -1;
    if (!S_ISREG(st.st_mode)) {
        errno = S_ISDIR(st.st_mode) ? EISDIR : ENXIO;
        return -1;
    }
    const int flags = ::fcntl(fd.Get(), F_GETFL);
    if (flags < 0 || ::fcntl(fd.Get(), F_SETFL, flags & ~O_NONBLOCK) != 0)
        return -1;
    return fd.Release();
}

bool ReadRegularFile(const std::string &Path, std::string &Bytes, std::size_t Limit, bool *TooLarge,
                     bool *Opened)
{
    TFd fd(OpenRegularFile(Path, O_RDONLY));
    if (Opened)
        *Opened = fd.Get() >= 0;
    if (fd.Get() < 0)
        return false;
    // Read to the end rather than trust the size: the file may change while
    // it is read. One byte past the limit tells a file that is too long.
    std::string out;
    char buffer[65536];
    bool more = false;
    for (;;) {
        const ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            break;
        const std::size_t room = Limit - out.size();
        if (std::size_t(n) > room) {
            out.append(buffer, room);
            more = true;
            break;
        }
        out.append(buffer, std::size_t(n));
    }
    if (TooLarge)
        *TooLarge = more;
    Bytes = std::move(out);
    return true;
}

bool ReplaceFile(const std::string &Path, std::string_view Bytes, bool *Begun)
{
    if (Begun)
        *Begun = false;
    const std::string target = WriteTarget(Path);
    struct stat st = {};
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode)) {
        errno = S_ISDIR(st.st_mode) ? EISDIR : ENXIO;
        return false;
    }
    // A file that exists but may not be written stays refused, as it would
    // be if it were opened for writing.
    if (exists && ::access(target.c_str(), W_OK) != 0)
        return false;
    static std::atomic<unsigned> serial{0};
    std::string part;
    TFd fd;
    for (int attempt = 0; fd.Get() < 0 && attempt < 100; ++attempt) {
        part = target + ".part" + std::to_string(::getpid()) + "-" + std::to_string(serial++);
        fd = TFd(::open(part.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (fd.Get() < 0 && errno != EEXIST)
            break;
    }
    if (fd.Get() < 0) {
        // Only a folder that refuses new names leaves the file to be written
        // in place; a full disk would fail that write too.
        if (!exists || (errno != EACCES && errno != EPERM))
            return false;
        part.clear();
        fd = TFd(OpenRegularFile(target, O_WRONLY));
        if (fd.Get() < 0)
            return false;
        if (Begun)
            *Begun = true;
        // The room is taken before the first byte changes, so a disk that
        // cannot hold the new content leaves the old one.
        if (Bytes.size() > std::size_t(st.st_size)) {
            if (const int code = ::posix_fallocate(fd.Get(), 0, off_t(Bytes.size()));
                code != 0 && code != EOPNOTSUPP && code != EINVAL) {
                errno = code;
                return false;
            }
        }
        return WriteAll(fd.Get(), Bytes) && ::ftruncate(fd.Get(), off_t(Bytes.size())) == 0 &&
               ::fsync(fd.Get()) == 0 && fd.Close() == 0;
    }
    if (Begun)
        *Begun = true;
    const auto fail = [&] {
        const int code = errno;
        ::unlink(part.c_str());
        errno = code;
        return false;
    };
    if (exists && ::fchmod(fd.Get(), st.st_mode & 07777) != 0)
        return fail();
    if (!WriteAll(fd.Get(), Bytes) || ::fsync(fd.Get()) != 0 || fd.Close() != 0)
        return fail();
    if (::rename(part.c_str(), target.c_str()) != 0)
        return fail();
    // The new name is on the disk once its folder is.
    TFd folder(::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.Get() >= 0)
        ::fsync(folder.Get());
    return true;
}
