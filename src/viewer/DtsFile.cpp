#include "DtsFile.h"

#include "Files.h"

#include "SysUtils.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

template <typename T> T LittleEndian(const unsigned char *p)
{
    uint64_t v = 0;
    for (std::size_t i = sizeof(T); i-- > 0;)
        v = (v << 8) | p[i];
    T out;
    if constexpr (sizeof(T) == 8) {
        std::memcpy(&out, &v, 8);
    } else {
        const auto narrow = static_cast<uint32_t>(v);
        std::memcpy(&out, &narrow, sizeof(T));
    }
    return out;
}

[[noreturn]] void Fail(const char *What, const std::string &Path, int Code)
{
    throw EInOutError(std::string(What) + ": " + Path + " (" + std::strerror(Code) + ")", Code);
}

class FileDescriptor {
public:
    explicit FileDescriptor(int Fd) : FFd(Fd) {}
    ~FileDescriptor()
    {
        if (FFd >= 0)
            ::close(FFd);
    }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    int Get() const { return FFd; }

private:
    int FFd;
};

} // namespace

DtsRecord DecodeDtsRecord(const unsigned char *Bytes)
{
    DtsRecord r;
    r.TemperatureRounded = LittleEndian<int32_t>(Bytes + 0);
    r.Temperature = LittleEndian<double>(Bytes + 8);
    r.HumidityRounded = LittleEndian<int32_t>(Bytes + 16);
    r.Humidity = LittleEndian<double>(Bytes + 24);
    r.RecordDate = LittleEndian<double>(Bytes + 32);
    r.RecordTime = LittleEndian<double>(Bytes + 40);
    r.RunNumber = Bytes[48];
    return r;
}

DtsFileContents ReadDtsFile(const std::string &Path, std::size_t MaxRecords,
                            const TReadProgress &Progress)
{
    const char *openFailed = "Fajl ne moze da se otvori";
    const char *readFailed = "Greska pri citanju fajla";
    FileDescriptor fd(OpenRegularFile(Path, O_RDONLY));
    if (fd.Get() < 0)
        Fail(openFailed, Path, errno);
    struct stat st = {};
    if (::fstat(fd.Get(), &st) != 0)
        Fail(openFailed, Path, errno);

    DtsFileContents out;
    out.RecordsInFile = std::size_t(st.st_size) / DtsRecordSize;
    const std::size_t wanted = std::min(out.RecordsInFile, MaxRecords);
    out.Records.reserve(wanted);
    if (Progress)
        Progress(0, int(wanted));

    // Whole blocks of records per call: one system call per record is what
    // made large recordings slow to open.
    constexpr std::size_t RecordsPerBlock = 1024;
    std::vector<unsigned char> block(RecordsPerBlock * DtsRecordSize);
    while (out.Records.size() < wanted) {
        const std::size_t count = std::min(RecordsPerBlock, wanted - out.Records.size());
        const std::size_t bytes = count * DtsRecordSize;
        std::size_t got = 0;
        while (got < bytes) {
            const ssize_t n = ::read(fd.Get(), block.data() + got, bytes - got);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                Fail(readFailed, Path, errno);
            if (n == 0)
                Fail(readFailed, Path, EIO); // the file shrank while being read
            got += std::size_t(n);
        }
        for (std::size_t i = 0; i < count; ++i) {
            out.Records.push_back(DecodeDtsRecord(block.data() + i * DtsRecordSize));
            if (Progress)
                Progress(int(out.Records.size()), int(wanted));
        }
    }
    return out;
}
