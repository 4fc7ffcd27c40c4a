#include "LineClient.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace orvasim {

namespace {

// Waits for the descriptor to become readable; false on time-out.
bool WaitReadable(int Fd, int TimeoutMs)
{
    pollfd p{Fd, POLLIN, 0};
    int r;
    do
        r = poll(&p, 1, TimeoutMs);
    while (r < 0 && errno == EINTR);
    return r > 0;
}

} // namespace

TLineClient::TLineClient(const std::string &Path)
{
    FFd = ::open(Path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (FFd < 0)
        throw std::system_error(errno, std::generic_category(), Path);
    termios t{};
    if (tcgetattr(FFd, &t) == 0) {
        cfmakeraw(&t);
        t.c_cflag |= CLOCAL | CREAD;
        cfsetspeed(&t, B19200);
        if (tcsetattr(FFd, TCSANOW, &t) == 0)
            return;
    }
    const int error = errno;
    ::close(FFd);
    throw std::system_error(error, std::generic_category(), Path);
}

TLineClient::~TLineClient()
{
    ::close(FFd);
}

void TLineClient::Send(uint8_t Command)
{
    tcflush(FFd, TCIOFLUSH);
    while (::write(FFd, &Command, 1) < 0 && errno == EINTR) {
    }
}

uint16_t TLineClient::Read(int TimeoutMs)
{
    uint8_t b;
    if (WaitReadable(FFd, TimeoutMs) && ::read(FFd, &b, 1) == 1)
        return b;
    return NoByte;
}

uint16_t TLineClient::Exchange(uint8_t Command, int TimeoutMs)
{
    Send(Command);
    return Read(TimeoutMs);
}

std::vector<uint8_t> TLineClient::ReadStream(size_t Count, int IdleMs)
{
    std::vector<uint8_t> bytes(Count);
    size_t got = 0;
    while (got < Count && WaitReadable(FFd, IdleMs)) {
        const ssize_t n = ::read(FFd, bytes.data() + got, Count - got);
        if (n > 0)
            got += size_t(n);
        else if (n == 0 || (errno != EAGAIN && errno != EINTR))
            break;
    }
    bytes.resize(got);
    return bytes;
}

bool TLineClient::HungUp(int TimeoutMs)
{
    if (!WaitReadable(FFd, TimeoutMs))
        return false;
    uint8_t b;
    const ssize_t n = ::read(FFd, &b, 1);
    return n == 0 || (n < 0 && errno == EIO);
}

} // namespace orvasim
