#pragma once
// The far end of the line in its plainest form, for tests and measurements:
// a raw, non-blocking descriptor on a serial device, used the way the
// console uses its port (empty both queues, send one byte, await one byte).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orvasim {

constexpr uint16_t NoByte = 0xFFFF;

class TLineClient {
public:
    // Throws std::system_error when the device cannot be opened.
    explicit TLineClient(const std::string &Path);
    ~TLineClient();
    TLineClient(const TLineClient &) = delete;
    TLineClient &operator=(const TLineClient &) = delete;

    int Fd() const { return FFd; }
    // Empties both queues, then writes the byte.
    void Send(uint8_t Command);
    // The next byte within TimeoutMs, or NoByte.
    uint16_t Read(int TimeoutMs);
    uint16_t Exchange(uint8_t Command, int TimeoutMs);
    // Reads until Count bytes came, nothing came for IdleMs, or the line hung up.
    std::vector<uint8_t> ReadStream(size_t Count, int IdleMs);
    // The line has been hung up: nothing is left to read and the device says so.
    bool HungUp(int TimeoutMs);

private:
    int FFd = -1;
};

} // namespace orvasim
