#include "SerialPorts.h"

#include "Registry.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <tuple>

namespace {

// A ttyS node with no UART behind it reports the type PORT_UNKNOWN, or
// refuses the question; opening it non-blocking does not wait for a carrier.
bool HasUart(const std::string &Path)
{
    const int fd = ::open(Path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    serial_struct info{};
    const bool ok = ::ioctl(fd, TIOCGSERIAL, &info) == 0 && info.type != PORT_UNKNOWN;
    ::close(fd);
    return ok;
}

// Orders ttyS2 before ttyS10.
std::tuple<std::string, long, std::string> SortKey(const std::string &Name)
{
    size_t digits = Name.size();
    while (digits > 0 && std::isdigit(static_cast<unsigned char>(Name[digits - 1])))
        --digits;
    const long number = digits < Name.size() ? std::atol(Name.c_str() + digits) : -1;
    return {Name.substr(0, digits), number, Name};
}

bool StartsWith(const std::string &Text, const char *Prefix)
{
    return Text.rfind(Prefix, 0) == 0;
}

} // namespace

std::vector<std::string> SerialPortPaths(const std::string &DevFolder, const std::string &Extra)
{
    std::vector<std::string> names;
    if (DIR *dir = ::opendir(DevFolder.c_str())) {
        while (dirent *entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (StartsWith(name, "ttyUSB") || StartsWith(name, "ttyACM"))
                names.push_back(name);
            else if (StartsWith(name, "ttyS") && HasUart(DevFolder + "/" + name))
                names.push_back(name);
        }
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end(),
              [](const std::string &A, const std::string &B) { return SortKey(A) < SortKey(B); });
    std::vector<std::string> paths;
    for (const std::string &name : names)
        paths.push_back(DevFolder + "/" + name);
    size_t start = 0;
    while (start <= Extra.size()) {
        size_t end = Extra.find(':', start);
        if (end == std::string::npos)
            end = Extra.size();
        const std::string path = Extra.substr(start, end - start);
        struct stat st = {};
        if (!path.empty() && ::stat(path.c_str(), &st) == 0 &&
            std::find(paths.begin(), paths.end(), path) == paths.end())
            paths.push_back(path);
        start = end + 1;
    }
    return paths;
}

void PublishSerialPorts(const std::vector<std::string> &Paths)
{
    TRegistry registry;
    registry.RootKey = HKEY_LOCAL_MACHINE;
    // Each key of the path, so that a reader can descend step by step.
    registry.OpenKey("HARDWARE", true);
    registry.OpenKey("HARDWARE\\DEVICEMAP", true);
    registry.OpenKey(SerialCommKey, true);
    for (const std::string &name : registry.GetValueNames())
        registry.DeleteValue(name);
    for (size_t i = 0; i < Paths.size(); ++i)
        registry.WriteString("\\Device\\Serial" + std::to_string(i), Paths[i]);
}

void PublishMachineSerialPorts()
{
    const char *extra = std::getenv("ORVA_EXTRA_PORTS");
    PublishSerialPorts(SerialPortPaths("/dev", extra ? extra : ""));
}
