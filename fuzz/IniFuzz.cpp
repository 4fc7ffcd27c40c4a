// Ini files are written by hand as often as by the console.
#include "IniFile.h"

#include <unistd.h>

#include <cstdio>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    static const std::string path = "/tmp/orva-fuzz-ini-" + std::to_string(getpid()) + ".ini";
    if (FILE *f = std::fopen(path.c_str(), "wb")) {
        if (Size > 0)
            std::fwrite(Data, 1, Size, f);
        std::fclose(f);
    }
    TIniFile ini(path);
    ini.ReadString("ComPort1", "Port", "COM2");
    ini.ReadInteger("ComPort1", "Buffer.InputSize", 1024);
    int value;
    ParseIniInteger(std::string(Data, Data + Size), value);
    // A write must keep every other line and leave the key readable.
    ini.WriteString("ComPort1", "Port", "COM9");
    if (ini.ReadString("ComPort1", "Port", "") != "COM9")
        __builtin_trap();
    std::remove(path.c_str());
    return 0;
}
