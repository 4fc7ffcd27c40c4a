#include "ConsoleFiles.h"

#include "SysUtils.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace logbridge {

namespace {

[[noreturn]] void Fail(const char *What, const std::string &Path, int Code) {
    throw EInOutError(std::string(What) + ": " + Path + " (" + std::strerror(Code) + ")", Code);
}

class TFileHandle {
public:
    explicit TFileHandle(int Fd) : FFd(Fd) {}
    ~TFileHandle() {
        if (FFd >= 0)
            ::close(FFd);
    }
    TFileHandle(const TFileHandle &) = delete;
    TFileHandle &operator=(const TFileHandle &) = delete;
    int Get() const { return FFd; }
    // Closes now, so that an error of the close itself is seen.
    int Close() { return ::close(std::exchange(FFd, -1)); }

private:
    int FFd;
};

// The file a write lands on: a link is followed, so that replacing the file
// does not replace the link.
std::string WriteTarget(const std::string &Path) {
    char *real = ::realpath(Path.c_str(), nullptr);
    if (!real)
        return Path;
    std::string out(real);
    std::free(real);
    return out;
}

} // namespace

void WriteWholeFile(const std::string &Path, std::string_view Bytes) {
    const char *failed = "Greska pri upisu fajla";
    const std::string target = WriteTarget(Path);
    struct stat st {};
    const bool exists = ::stat(target.c_str(), &st) == 0;
    // A file that exists but may not be written stays refused, as it would
    // be if it were opened for writing.
    if (exists && ::access(target.c_str(), W_OK) != 0)
        Fail("Fajl ne moze da se kreira", Path, errno);
    // A regular file is written beside the target and put in its place only
    // when whole: a failure part way (a full disk) leaves the earlier file as
    // it was. A device or pipe is written as it is.
    static std::atomic<unsigned> serial{0};
    std::string part;
    int created = -1;
    errno = 0;
    for (int attempt = 0; created < 0 && attempt < 100 && (!exists || S_ISREG(st.st_mode));
         ++attempt) {
        part = target + ".part" + std::to_string(::getpid()) + "-" + std::to_string(serial++);
        created = ::open(part.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (created < 0 && errno != EEXIST)
            break;
    }
    int openError = errno;
    if (created < 0 && exists) {
        // A folder that takes no new file may still hold a writable one:
        // that one is written in place.
        part.clear();
        created = ::open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
        openError = errno;
    }
    TFileHandle fd(created);
    if (fd.Get() < 0)
        Fail("Fajl ne moze da se kreira", Path, openError);
    const auto fail = [&](int Code) {
        if (!part.empty())
            ::unlink(part.c_str());
        Fail(failed, Path, Code);
    };
    std::size_t done = 0;
    while (done < Bytes.size()) {
        const ssize_t n = ::write(fd.Get(), Bytes.data() + done, Bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            fail(errno);
        done += std::size_t(n);
    }
    if (fd.Close() != 0)
        fail(errno);
    if (!part.empty() && ::rename(part.c_str(), target.c_str()) != 0)
        fail(errno);
}

std::string ReadWholeFile(const std::string &Path, std::size_t Limit, bool &TooLarge) {
    const char *failed = "Greska pri citanju fajla";
    TFileHandle fd(::open(Path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0)
        Fail("Fajl ne moze da se otvori", Path, errno);
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0)
        Fail(failed, Path, errno);
    if (S_ISDIR(st.st_mode))
        Fail(failed, Path, EISDIR);
    // Read to the end rather than trust the size: the file may change while
    // it is read. One byte past the limit tells a file that is too long.
    std::string out(Limit + 1, '\0');
    std::size_t got = 0;
    while (got < out.size()) {
        const ssize_t n = ::read(fd.Get(), out.data() + got, out.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            Fail(failed, Path, errno);
        if (n == 0)
            break;
        got += std::size_t(n);
    }
    TooLarge = got > Limit;
    out.resize(TooLarge ? Limit : got);
    return out;
}

std::string ExtractFileName(const std::string &Path) {
    const std::size_t slash = Path.find_last_of('/');
    return slash == std::string::npos ? Path : Path.substr(slash + 1);
}

} // namespace logbridge
