#pragma once
// A pseudo-terminal pair for tests: the test holds the master side and
// plays the peer; the code under test opens the slave by its path.

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

class TestPty {
public:
    TestPty()
    {
        int slave = -1;
        char name[256] = {};
        if (openpty(&Master, &slave, name, nullptr, nullptr) != 0)
            throw std::runtime_error("openpty failed");
        // Raw on the slave so that bytes pass unchanged before the port opens.
        termios t{};
        tcgetattr(slave, &t);
        cfmakeraw(&t);
        tcsetattr(slave, TCSANOW, &t);
        // Keep the slave open ourselves until the code under test has it, so
        // that the master never sees a hang-up in between.
        SlaveKeeper = slave;
        Path = name;
    }
    ~TestPty()
    {
        CloseMaster();
        if (SlaveKeeper >= 0)
            ::close(SlaveKeeper);
    }
    TestPty(const TestPty &) = delete;
    TestPty &operator=(const TestPty &) = delete;

    void CloseMaster()
    {
        if (Master >= 0)
            ::close(Master);
        Master = -1;
    }

    // Writes all of Data to the master (blocking as the pty does).
    void Send(const void *Data, size_t Count)
    {
        const auto *p = static_cast<const uint8_t *>(Data);
        while (Count > 0) {
            const ssize_t n = ::write(Master, p, Count);
            if (n < 0) {
                if (errno == EINTR || errno == EAGAIN)
                    continue;
                throw std::runtime_error("write to master failed");
            }
            p += n;
            Count -= size_t(n);
        }
    }
    void Send(const std::string &Text) { Send(Text.data(), Text.size()); }

    // Reads what the port sent, waiting up to Ms for at least Want bytes.
    std::vector<uint8_t> Receive(size_t Want, int Ms = 2000)
    {
        std::vector<uint8_t> out;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(Ms);
        while (out.size() < Want) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                                  deadline - std::chrono::steady_clock::now())
                                  .count();
            if (left <= 0)
                break;
            pollfd p{Master, POLLIN, 0};
            if (::poll(&p, 1, int(left)) <= 0)
                continue;
            uint8_t buf[4096];
            const ssize_t n = ::read(Master, buf, sizeof buf);
            if (n <= 0)
                break;
            out.insert(out.end(), buf, buf + n);
        }
        return out;
    }

    int Master = -1;
    int SlaveKeeper = -1;
    std::string Path;
};
