#include "CommDevice.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

int SetCustomCommSpeed(int Fd, uint32_t Rate);

namespace {

using Clock = std::chrono::steady_clock;
constexpr uint32_t MAXDWORD = 0xFFFFFFFFu;
constexpr size_t DefaultQueueSize = 4096;
// Largest input queue accepted; more is a caller's mistake, not a need.
constexpr int32_t MaxQueueSize = 16 * 1024 * 1024;
// How often line states and the output queue are looked at while an event
// depends on them; nothing is polled otherwise.
constexpr int LinePollMs = 20;
// Arrivals within this time of the last received-character event are
// reported together: a stream at the line rate would otherwise wake the
// event thread, and the GUI thread behind it, once per byte.
constexpr auto RxEventSpacing = std::chrono::milliseconds(40);
// A read below this many bytes means the line is not streaming flat out.
constexpr size_t SmallRead = 256;

speed_t StandardSpeed(uint32_t Rate)
{
    switch (Rate) {
    case 50: return B50;
    case 75: return B75;
    case 110: return B110;
    case 134: return B134;
    case 150: return B150;
    case 200: return B200;
    case 300: return B300;
    case 600: return B600;
    case 1200: return B1200;
    case 1800: return B1800;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    case 230400: return B230400;
    case 460800: return B460800;
    case 921600: return B921600;
    default: return B0;
    }
}

// Total time-outs are products of up to 64 bits, as the system counts them:
// one beyond any representable time is no limit at all.
Clock::time_point DeadlineAfter(uint64_t Ms)
{
    const auto now = Clock::now();
    const auto room =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::time_point::max() - now);
    return Ms >= uint64_t(room.count()) ? Clock::time_point::max()
                                        : now + std::chrono::milliseconds(Ms);
}

} // namespace

void TEvent::SetEvent()
{
    std::vector<std::function<void()>> listeners;
    {
        std::lock_guard<std::mutex> lock(FLock);
        FSet = true;
        listeners = FListeners;
    }
    for (auto &l : listeners)
        l();
}

void TEvent::ResetEvent()
{
    std::lock_guard<std::mutex> lock(FLock);
    FSet = false;
}

bool TEvent::IsSet() const
{
    std::lock_guard<std::mutex> lock(FLock);
    return FSet;
}

int DcbToTermios(const TDcb &Dcb, const termios &Base, termios &Result, uint32_t &CustomRate)
{
    if (Dcb.ByteSize < 5 || Dcb.ByteSize > 8 || Dcb.Parity > 4 || Dcb.StopBits > 2 ||
        Dcb.BaudRate == 0)
        return EINVAL;
    if ((Dcb.StopBits == 1 && Dcb.ByteSize != 5) || (Dcb.StopBits == 2 && Dcb.ByteSize == 5))
        return EINVAL;

    Result = Base;
    Result.c_iflag &= ~tcflag_t(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON |
                                IXOFF | IXANY | INPCK | IGNPAR);
    Result.c_oflag &= ~tcflag_t(OPOST);
    Result.c_lflag &= ~tcflag_t(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    Result.c_cflag &= ~tcflag_t(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    Result.c_cflag |= CLOCAL | CREAD;

    static const tcflag_t sizes[] = {CS5, CS6, CS7, CS8};
    Result.c_cflag |= sizes[Dcb.ByteSize - 5];
    switch (Dcb.Parity) {
    case 1: Result.c_cflag |= PARENB | PARODD; break;
    case 2: Result.c_cflag |= PARENB; break;
    case 3: Result.c_cflag |= PARENB | PARODD | CMSPAR; break;
    case 4: Result.c_cflag |= PARENB | CMSPAR; break;
    default: break;
    }
    if (Dcb.StopBits != 0)
        Result.c_cflag |= CSTOPB; // with 5 data bits the line gives one and a half
    // Checked input is marked so that bad bytes can be told from good ones.
    if (Dcb.fParity)
        Result.c_iflag |= INPCK | PARMRK;
    if (Dcb.fOutxCtsFlow || Dcb.fRtsControl == 2)
        Result.c_cflag |= CRTSCTS;
    if (Dcb.fOutX)
        Result.c_iflag |= IXON;
    if (Dcb.fInX)
        Result.c_iflag |= IXOFF;
    Result.c_cc[VSTART] = cc_t(Dcb.XonChar);
    Result.c_cc[VSTOP] = cc_t(Dcb.XoffChar);
    Result.c_cc[VMIN] = 1; // with O_NONBLOCK an empty read is EAGAIN, so 0 means hung up
    Result.c_cc[VTIME] = 0;

    const speed_t speed = StandardSpeed(Dcb.BaudRate);
    CustomRate = speed == B0 ? Dcb.BaudRate : 0;
    cfsetispeed(&Result, speed == B0 ? B38400 : speed);
    cfsetospeed(&Result, speed == B0 ? B38400 : speed);
    return 0;
}

int UnmarkInput(const uint8_t *In, size_t Count, std::vector<uint8_t> &Out, TMarkState &State,
                bool Replace, uint8_t Replacement)
{
    int bad = 0;
    for (size_t i = 0; i < Count; ++i) {
        const uint8_t b = In[i];
        switch (State.Pending) {
        case 0:
            if (b == 0xFF)
                State.Pending = 1;
            else
                Out.push_back(b);
            break;
        case 1:
            if (b == 0x00) {
                State.Pending = 2;
            } else {
                // "\377\377" is a received $FF; anything else was never marked.
                Out.push_back(0xFF);
                if (b != 0xFF)
                    Out.push_back(b);
                State.Pending = 0;
            }
            break;
        default:
            Out.push_back(Replace ? Replacement : b);
            ++bad;
            State.Pending = 0;
            break;
        }
    }
    return bad;
}

std::string DevicePath(const std::string &Port)
{
    if (Port.find('/') != std::string::npos)
        return Port;
    return "/dev/" + Port;
}

std::unique_ptr<TCommDevice> TCommDevice::Open(const std::string &Port)
{
    if (Port.empty()) {
        errno = ENOENT;
        return nullptr;
    }
    const std::string path = DevicePath(Port);
    int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    auto fail = [fd](int error) -> std::unique_ptr<TCommDevice> {
        ::close(fd);
        errno = error;
        return nullptr;
    };
    if (!isatty(fd))
        return fail(ENOTTY);
    // TIOCEXCL does not stop root; the lock keeps every second opener out.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0)
        return fail(errno == EWOULDBLOCK ? EBUSY : errno);
    ioctl(fd, TIOCEXCL);

    termios saved{};
    if (tcgetattr(fd, &saved) != 0)
        return fail(errno);
    termios raw = saved;
    cfmakeraw(&raw);
    raw.c_cflag |= CLOCAL | CREAD;
    raw.c_cc[VMIN] = 1; // with O_NONBLOCK an empty read is EAGAIN, so 0 means hung up
    raw.c_cc[VTIME] = 0;
    if (tcsetattr(fd, TCSANOW, &raw) != 0)
        return fail(errno);

    std::unique_ptr<TCommDevice> dev(new TCommDevice(fd));
    if (dev->FWakeFd < 0) {
        const int error = errno;
        tcsetattr(fd, TCSANOW, &saved);
        dev.reset();
        errno = error;
        return nullptr;
    }
    dev->FSaved = saved;
    dev->FHaveSaved = true;
    int lines = 0;
    dev->FModemLines = ioctl(fd, TIOCMGET, &lines) == 0;
    dev->FModemState = uint32_t(lines);
    serial_icounter_struct counts{};
    dev->FErrorCounters = ioctl(fd, TIOCGICOUNT, &counts) == 0;
    if (dev->FErrorCounters) {
        dev->FIcount[0] = counts.frame;
        dev->FIcount[1] = counts.parity;
        dev->FIcount[2] = counts.overrun;
        dev->FIcount[3] = counts.brk;
        dev->FIcount[4] = counts.buf_overrun;
    }
    dev->FReader = std::thread([d = dev.get()] { d->ReaderLoop(); });
    return dev;
}

TCommDevice::TCommDevice(int Fd) : FFd(Fd), FWakeFd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{
    FQueue.resize(DefaultQueueSize);
}

TCommDevice::~TCommDevice()
{
    {
        std::lock_guard<std::mutex> lock(FLock);
        FStopping = true;
        FEventChanged.notify_all();
        FDataChanged.notify_all();
    }
    Wake();
    if (FReader.joinable())
        FReader.join();
    ioctl(FFd, TIOCNXCL);
    if (FHaveSaved)
        tcsetattr(FFd, TCSANOW, &FSaved);
    ::close(FFd);
    if (FWakeFd >= 0)
        ::close(FWakeFd);
}

void TCommDevice::Wake()
{
    if (FWakeFd >= 0) {
        const uint64_t one = 1;
        [[maybe_unused]] ssize_t n = ::write(FWakeFd, &one, sizeof one);
    }
}

void TCommDevice::Raise(uint32_t Events)
{
    const uint32_t pending = FPending | (Events & FMask);
    if (pending != FPending) {
        FPending = pending;
        FEventChanged.notify_all();
    }
}

bool TCommDevice::HungUp() const
{
    std::lock_guard<std::mutex> lock(FLock);
    return FHungUp;
}

void TCommDevice::ReaderLoop()
{
    auto idleUntil = Clock::now();
    for (;;) {
        int timeout = -1;
        auto now = Clock::now();
        bool awaited;
        {
            std::lock_guard<std::mutex> lock(FLock);
            // A query may have met the hang-up first; a gone device has nothing more to give.
            if (FStopping || FHungUp)
                return;
            awaited = FInputWaiters > 0;
            const bool lineEvents = FModemLines && (FMask & (EV_CTS | EV_DSR | EV_RLSD | EV_RING));
            if (FTxEmptyWatch || lineEvents || (FErrorCounters && (FMask & (EV_ERR | EV_BREAK))))
                timeout = LinePollMs;
            if (FRxEventDeferred) {
                // Whatever came meanwhile is taken in before it is reported.
                if (now >= FLastRxEvent + RxEventSpacing && !DrainLocked()) {
                    MarkHungUpLocked();
                    return;
                }
                const auto due = FLastRxEvent + RxEventSpacing;
                now = Clock::now();
                if (now >= due) {
                    FRxEventDeferred = false;
                    FLastRxEvent = now;
                    Raise(EV_RXCHAR);
                } else {
                    const int wait =
                        int(std::chrono::duration_cast<std::chrono::milliseconds>(due - now)
                                .count()) +
                        1;
                    timeout = timeout < 0 ? wait : std::min(timeout, wait);
                }
            }
        }
        // After a small read the line is trickling: let bytes gather in the
        // driver for a moment instead of waking for each one. Counts stay
        // current, because the queries drain the driver themselves; a thread
        // waiting for input is served at once.
        const bool resting = !awaited && now < idleUntil;
        if (resting) {
            const int rest =
                int(std::chrono::duration_cast<std::chrono::milliseconds>(idleUntil - now)
                        .count()) +
                1;
            timeout = timeout < 0 ? rest : std::min(timeout, rest);
        }
        pollfd fds[2] = {{FWakeFd, POLLIN, 0}, {FFd, POLLIN, 0}};
        const int r = ::poll(fds, resting ? 1 : 2, timeout);
        if (r < 0) {
            if (errno == EINTR)
                continue;
            std::lock_guard<std::mutex> lock(FLock);
            MarkHungUpLocked();
            return;
        }
        if (fds[0].revents & POLLIN) {
            uint64_t value;
            [[maybe_unused]] ssize_t n = ::read(FWakeFd, &value, sizeof value);
        }
        if (!resting && (fds[1].revents & (POLLIN | POLLHUP | POLLERR | POLLNVAL))) {
            std::lock_guard<std::mutex> lock(FLock);
            const size_t before = FReceived;
            if (!DrainLocked()) {
                // The peer hung up or the adapter was pulled: nothing more
                // will come, and what is queued stays readable.
                MarkHungUpLocked();
                return;
            }
            if (FReceived - before < SmallRead)
                idleUntil = Clock::now() + RxEventSpacing;
        }
        PollLineState();
    }
}

bool TCommDevice::DrainLocked()
{
    if (FHungUp)
        return true;
    uint8_t buf[4096];
    for (;;) {
        const ssize_t n = ::read(FFd, buf, sizeof buf);
        if (n > 0) {
            FReceived += size_t(n);
            Receive(buf, size_t(n));
            if (size_t(n) < sizeof buf)
                return true;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN)
            return true;
        return false;
    }
}

void TCommDevice::MarkHungUpLocked()
{
    FHungUp = true;
    FTxEmptyWatch = false;
    // Nobody is left to raise a held-back arrival once the device is gone.
    if (FRxEventDeferred) {
        FRxEventDeferred = false;
        Raise(EV_RXCHAR);
    }
    FEventChanged.notify_all();
    FDataChanged.notify_all();
}

void TCommDevice::Receive(const uint8_t *Data, size_t Count)
{
    std::vector<uint8_t> unmarked;
    if (FDcb.fParity) {
        unmarked.reserve(Count);
        const int bad = UnmarkInput(Data, Count, unmarked, FMarkState, FDcb.fErrorChar,
                                    uint8_t(FDcb.ErrorChar));
        if (bad > 0 && !FErrorCounters) {
            FErrors |= CE_RXPARITY;
            Raise(EV_ERR);
        }
        Data = unmarked.data();
        Count = unmarked.size();
    }
    const size_t capacity = FQueue.size();
    const bool wasBelow80 = FCount * 5 < capacity * 4;
    size_t added = 0;
    bool flag = false;
    for (size_t i = 0; i < Count; ++i) {
        const uint8_t b = Data[i];
        if (FDcb.fNull && b == 0)
            continue;
        if (b == uint8_t(FDcb.EvtChar))
            flag = true;
        if (FCount == capacity) {
            FErrors |= CE_RXOVER;
            Raise(EV_ERR);
            continue;
        }
        FQueue[(FHead + FCount) % capacity] = b;
        ++FCount;
        ++added;
    }
    if (added > 0)
        FDataChanged.notify_all();
    if (added > 0 && (FMask & EV_RXCHAR)) {
        const auto now = Clock::now();
        if (now - FLastRxEvent >= RxEventSpacing) {
            FLastRxEvent = now;
            Raise(EV_RXCHAR);
        } else if (!FRxEventDeferred) {
            FRxEventDeferred = true;
            Wake(); // the reader raises it when the spacing is over
        }
    }
    if (flag)
        Raise(EV_RXFLAG);
    if (wasBelow80 && FCount * 5 >= capacity * 4)
        Raise(EV_RX80FULL);
}

void TCommDevice::PollLineState()
{
    int lines = 0;
    const bool haveLines = FModemLines && ioctl(FFd, TIOCMGET, &lines) == 0;
    serial_icounter_struct counts{};
    const bool haveCounts = FErrorCounters && ioctl(FFd, TIOCGICOUNT, &counts) == 0;
    int outq = 0;
    bool txWatch;
    {
        std::lock_guard<std::mutex> lock(FLock);
        txWatch = FTxEmptyWatch;
    }
    const bool txEmpty = txWatch && ioctl(FFd, TIOCOUTQ, &outq) == 0 && outq == 0;

    std::lock_guard<std::mutex> lock(FLock);
    if (txEmpty) {
        FTxEmptyWatch = false;
        Raise(EV_TXEMPTY);
    }
    if (haveLines) {
        const uint32_t now = uint32_t(lines);
        const uint32_t changed = now ^ FModemState;
        if (changed & TIOCM_CTS)
            Raise(EV_CTS);
        if (changed & TIOCM_DSR)
            Raise(EV_DSR);
        if (changed & TIOCM_CD)
            Raise(EV_RLSD);
        if ((changed & TIOCM_RI) && (now & TIOCM_RI))
            Raise(EV_RING);
        FModemState = now;
    }
    if (haveCounts) {
        const int now[5] = {counts.frame, counts.parity, counts.overrun, counts.brk,
                            counts.buf_overrun};
        static const uint32_t flags[5] = {CE_FRAME, CE_RXPARITY, CE_OVERRUN, CE_BREAK, CE_OVERRUN};
        for (int i = 0; i < 5; ++i) {
            if (now[i] != FIcount[i]) {
                FErrors |= flags[i];
                Raise(i == 3 ? (EV_BREAK | EV_ERR) : EV_ERR);
                FIcount[i] = now[i];
            }
        }
    }
}

bool TCommDevice::SetCommState(const TDcb &Dcb)
{
    termios current{};
    if (tcgetattr(FFd, &current) != 0)
        return false;
    termios wanted{};
    uint32_t custom = 0;
    if (const int error = DcbToTermios(Dcb, current, wanted, custom)) {
        errno = error;
        return false;
    }
    if (tcsetattr(FFd, TCSANOW, &wanted) != 0)
        return false;
    if (custom != 0) {
        if (const int error = SetCustomCommSpeed(FFd, custom)) {
            tcsetattr(FFd, TCSANOW, &current);
            errno = error;
            return false;
        }
    }
    // Output lines: a device without them (a pseudo-terminal) has nothing to set.
    const int dtr = TIOCM_DTR, rts = TIOCM_RTS;
    ioctl(FFd, Dcb.fDtrControl != 0 ? TIOCMBIS : TIOCMBIC, &dtr);
    if (Dcb.fRtsControl != 2)
        ioctl(FFd, Dcb.fRtsControl != 0 ? TIOCMBIS : TIOCMBIC, &rts);
    std::lock_guard<std::mutex> lock(FLock);
    if (Dcb.fParity != FDcb.fParity)
        FMarkState = TMarkState{};
    FDcb = Dcb;
    return true;
}

bool TCommDevice::SetCommTimeouts(const TCommTimeouts &Timeouts)
{
    std::lock_guard<std::mutex> lock(FLock);
    FTimeouts = Timeouts;
    return true;
}

bool TCommDevice::SetupComm(int32_t InSize, int32_t OutSize)
{
    if (InSize < 0 || OutSize < 0 || InSize > MaxQueueSize || OutSize > MaxQueueSize) {
        errno = EINVAL;
        return false;
    }
    const size_t capacity = InSize == 0 ? DefaultQueueSize : size_t(InSize);
    std::lock_guard<std::mutex> lock(FLock);
    if (capacity == FQueue.size())
        return true;
    std::vector<uint8_t> queue(capacity);
    const size_t keep = std::min(FCount, capacity);
    for (size_t i = 0; i < keep; ++i)
        queue[i] = FQueue[(FHead + i) % FQueue.size()];
    if (keep < FCount)
        FErrors |= CE_RXOVER;
    FQueue.swap(queue);
    FHead = 0;
    FCount = keep;
    return true;
}

bool TCommDevice::SetCommMask(uint32_t Mask)
{
    {
        std::lock_guard<std::mutex> lock(FLock);
        FMask = Mask;
        FPending = 0;
        FRxEventDeferred = false;
        ++FMaskGeneration;
        FEventChanged.notify_all();
    }
    Wake();
    return true;
}

TCommDevice::TWaitResult TCommDevice::WaitCommEvent(uint32_t &Mask, TEvent &Stop)
{
    std::unique_lock<std::mutex> lock(FLock);
    if (FMask == 0) {
        errno = EINVAL;
        return wrFailed;
    }
    const uint64_t generation = FMaskGeneration;
    std::function<void()> wake = [this] {
        std::lock_guard<std::mutex> g(FLock);
        FEventChanged.notify_all();
    };
    {
        std::lock_guard<std::mutex> g(Stop.FLock);
        Stop.FListeners.push_back(wake);
    }
    TWaitResult result;
    for (;;) {
        if (Stop.IsSet()) {
            result = wrStopped;
            break;
        }
        if (generation != FMaskGeneration) {
            Mask = 0;
            result = wrEvent;
            break;
        }
        if (FPending & FMask) {
            Mask = FPending & FMask;
            FPending &= ~Mask;
            result = wrEvent;
            break;
        }
        if (FHungUp || FStopping) {
            errno = EIO;
            result = wrFailed;
            break;
        }
        FEventChanged.wait(lock);
    }
    const int savedErrno = errno;
    {
        std::lock_guard<std::mutex> g(Stop.FLock);
        Stop.FListeners.pop_back();
    }
    errno = savedErrno;
    return result;
}

bool TCommDevice::Write(const void *Buffer, uint32_t Count, uint32_t &Written)
{
    Written = 0;
    uint64_t multiplier, constant;
    {
        std::lock_guard<std::mutex> lock(FLock);
        if (FHungUp) {
            errno = EIO;
            return false;
        }
        multiplier = FTimeouts.WriteTotalTimeoutMultiplier;
        constant = FTimeouts.WriteTotalTimeoutConstant;
    }
    const uint64_t aborts = FWriteAborts;
    const bool limited = multiplier != 0 || constant != 0;
    const auto deadline = DeadlineAfter(multiplier * Count + constant);
    const auto *bytes = static_cast<const uint8_t *>(Buffer);
    while (Written < Count) {
        const ssize_t n = ::write(FFd, bytes + Written, Count - Written);
        if (n > 0) {
            Written += uint32_t(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN) {
            // A tty whose other end has gone fails its writes with EIO; it
            // is gone now for everyone, not only once the reader sees it.
            if (errno == EIO) {
                std::lock_guard<std::mutex> lock(FLock);
                MarkHungUpLocked();
                errno = EIO;
            }
            return false;
        }
        if (FWriteAborts != aborts) {
            errno = ECANCELED;
            return false;
        }
        // Waits in slices so that an abort from another thread is seen.
        int slice = 100;
        if (limited) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now())
                    .count();
            if (left <= 0)
                break;
            slice = int(std::min<long long>(left, slice));
        }
        pollfd p{FFd, POLLOUT, 0};
        ::poll(&p, 1, slice);
    }
    if (Written > 0) {
        int outq = 0;
        const bool empty = ioctl(FFd, TIOCOUTQ, &outq) == 0 && outq == 0;
        std::lock_guard<std::mutex> lock(FLock);
        if (empty)
            Raise(EV_TXEMPTY);
        else
            FTxEmptyWatch = true;
    }
    Wake();
    return true;
}

bool TCommDevice::Read(void *Buffer, uint32_t Count, uint32_t &ReadCount)
{
    ReadCount = 0;
    auto *out = static_cast<uint8_t *>(Buffer);
    std::unique_lock<std::mutex> lock(FLock);
    if (!DrainLocked())
        MarkHungUpLocked();
    const TCommTimeouts t = FTimeouts;
    const uint64_t aborts = FReadAborts;

    auto take = [&] {
        const size_t n = std::min<size_t>(Count - ReadCount, FCount);
        for (size_t i = 0; i < n; ++i)
            out[ReadCount + i] = FQueue[(FHead + i) % FQueue.size()];
        FHead = (FHead + n) % FQueue.size();
        FCount -= n;
        ReadCount += uint32_t(n);
        return n;
    };

    const bool immediate = t.ReadIntervalTimeout == MAXDWORD && t.ReadTotalTimeoutMultiplier == 0 &&
                           t.ReadTotalTimeoutConstant == 0;
    const bool returnOnAny =
        t.ReadIntervalTimeout == MAXDWORD && t.ReadTotalTimeoutMultiplier == MAXDWORD &&
        t.ReadTotalTimeoutConstant > 0 && t.ReadTotalTimeoutConstant < MAXDWORD;
    bool totalLimited = false;
    auto totalDeadline = Clock::time_point::max();
    if (returnOnAny) {
        totalLimited = true;
        totalDeadline = Clock::now() + std::chrono::milliseconds(t.ReadTotalTimeoutConstant);
    } else if (t.ReadTotalTimeoutMultiplier != 0 || t.ReadTotalTimeoutConstant != 0) {
        totalLimited = true;
        totalDeadline = DeadlineAfter(uint64_t(t.ReadTotalTimeoutMultiplier) * Count +
                                      t.ReadTotalTimeoutConstant);
    }
    const bool intervalLimited = t.ReadIntervalTimeout != 0 && t.ReadIntervalTimeout != MAXDWORD;
    auto lastByte = Clock::now();

    for (;;) {
        if (take() > 0)
            lastByte = Clock::now();
        if (ReadCount == Count || immediate || (returnOnAny && ReadCount > 0))
            break;
        if (FHungUp || FStopping) {
            if (ReadCount > 0)
                break;
            errno = EIO;
            return false;
        }
        if (FReadAborts != aborts) {
            errno = ECANCELED;
            return false;
        }
        auto deadline = totalDeadline;
        if (intervalLimited && ReadCount > 0)
            deadline =
                std::min(deadline, lastByte + std::chrono::milliseconds(t.ReadIntervalTimeout));
        if ((totalLimited || (intervalLimited && ReadCount > 0)) && Clock::now() >= deadline)
            break;
        AwaitInputLocked(lock, deadline);
    }
    if (ReadCount == 0 && FHungUp) {
        errno = EIO;
        return false;
    }
    return true;
}

bool TCommDevice::WaitForInput(uint32_t Milliseconds)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(Milliseconds);
    std::unique_lock<std::mutex> lock(FLock);
    if (!DrainLocked())
        MarkHungUpLocked();
    while (FCount == 0 && Clock::now() < deadline)
        AwaitInputLocked(lock, deadline);
    return FCount > 0;
}

void TCommDevice::AwaitInputLocked(std::unique_lock<std::mutex> &Lock, Clock::time_point Deadline)
{
    // A resting reader goes back to watching the line; it rests again only
    // once nobody waits.
    if (FInputWaiters++ == 0)
        Wake();
    if (Deadline == Clock::time_point::max())
        FDataChanged.wait(Lock);
    else
        FDataChanged.wait_until(Lock, Deadline);
    --FInputWaiters;
    if (!DrainLocked())
        MarkHungUpLocked();
}

bool TCommDevice::Purge(uint32_t Flags)
{
    if (Flags & PURGE_TXABORT)
        ++FWriteAborts;
    if (Flags & PURGE_RXABORT)
        ++FReadAborts;
    if (Flags & PURGE_TXCLEAR)
        tcflush(FFd, TCOFLUSH); // fails only on a device that is gone
    if (Flags & PURGE_RXCLEAR) {
        std::lock_guard<std::mutex> lock(FLock);
        tcflush(FFd, TCIFLUSH);
        FHead = 0;
        FCount = 0;
        FMarkState = TMarkState{};
    }
    {
        std::lock_guard<std::mutex> lock(FLock);
        FDataChanged.notify_all();
    }
    return true;
}

bool TCommDevice::ClearCommError(uint32_t &Errors, TComStat &Stat)
{
    int outq = 0;
    if (ioctl(FFd, TIOCOUTQ, &outq) != 0)
        outq = 0;
    std::lock_guard<std::mutex> lock(FLock);
    if (!DrainLocked())
        MarkHungUpLocked();
    Errors = FErrors;
    FErrors = 0;
    Stat.cbInQue = uint32_t(FCount);
    Stat.cbOutQue = uint32_t(outq);
    return true;
}

bool TCommDevice::GetCommModemStatus(uint32_t &Status)
{
    Status = 0;
    if (!FModemLines)
        return true;
    int lines = 0;
    if (ioctl(FFd, TIOCMGET, &lines) != 0)
        return errno == ENOTTY || errno == EINVAL ? true : false;
    if (lines & TIOCM_CTS)
        Status |= MS_CTS_ON;
    if (lines & TIOCM_DSR)
        Status |= MS_DSR_ON;
    if (lines & TIOCM_RI)
        Status |= MS_RING_ON;
    if (lines & TIOCM_CD)
        Status |= MS_RLSD_ON;
    return true;
}
