#include "ConsoleFiles.h"

#include "SysUtils.h"

#include <cerrno>
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

} // namespace

void WriteWholeFile(const std::string &Path, std::string_view Bytes) {
    const char *failed = "Greska pri upisu fajla";
    TFileHandle fd(::open(Path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (fd.Get() < 0)
        Fail("Fajl ne moze da se kreira", Path, errno);
    std::size_t done = 0;
    while (done < Bytes.size()) {
        const ssize_t n = ::write(fd.Get(), Bytes.data() + done, Bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            Fail(failed, Path, errno);
        done += std::size_t(n);
    }
    if (fd.Close() != 0)
        Fail(failed, Path, errno);
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
