#pragma once
// The fuzz input as a file the loaders open by name, without touching disk.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

class TFuzzFile {
public:
    TFuzzFile(const uint8_t *Data, size_t Size) : Fd(memfd_create("input", 0))
    {
        if (Fd < 0 || write(Fd, Data, Size) != ssize_t(Size))
            std::abort();
    }
    ~TFuzzFile() { close(Fd); }
    TFuzzFile(const TFuzzFile &) = delete;
    TFuzzFile &operator=(const TFuzzFile &) = delete;
    std::string Path() const { return "/proc/self/fd/" + std::to_string(Fd); }

private:
    int Fd;
};
