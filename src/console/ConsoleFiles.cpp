#include "ConsoleFiles.h"

#include "Files.h"
#include "SysUtils.h"

#include <cerrno>
#include <cstring>

namespace logbridge {

namespace {

[[noreturn]] void Fail(const char *What, const std::string &Path, int Code)
{
    throw EInOutError(std::string(What) + ": " + Path + " (" + std::strerror(Code) + ")", Code);
}

} // namespace

void WriteWholeFile(const std::string &Path, std::string_view Bytes)
{
    bool begun = false;
    if (!ReplaceFile(Path, Bytes, &begun))
        Fail(begun ? "Greska pri upisu fajla" : "Fajl ne moze da se kreira", Path, errno);
}

std::string ReadWholeFile(const std::string &Path, std::size_t Limit, bool &TooLarge)
{
    std::string out;
    bool opened = false;
    if (!ReadRegularFile(Path, out, Limit, &TooLarge, &opened))
        Fail(opened ? "Greska pri citanju fajla" : "Fajl ne moze da se otvori", Path, errno);
    return out;
}

std::string ExtractFileName(const std::string &Path)
{
    const std::size_t slash = Path.find_last_of('/');
    return slash == std::string::npos ? Path : Path.substr(slash + 1);
}

} // namespace logbridge
