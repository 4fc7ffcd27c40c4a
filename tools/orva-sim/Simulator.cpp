#include "Simulator.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <system_error>

namespace orvasim {

namespace {

constexpr int64_t NsPerSecond = 1'000'000'000;
constexpr int64_t NsPerMs = 1'000'000;
constexpr size_t ReceivedKeep = size_t(1) << 20;
// Bytes written to the master reach the other side's queue a moment after
// the write returns, so an empty queue right after a write proves nothing.
constexpr int64_t SettleNs = 20 * NsPerMs;
constexpr int64_t HangUpPollNs = 5 * NsPerMs;

int64_t SteadyNs()
{
    using namespace std::chrono;
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

[[noreturn]] void Fail(const char *What)
{
    throw std::system_error(errno, std::generic_category(), What);
}

void CloseFd(int &Fd)
{
    if (Fd >= 0)
        ::close(Fd);
    Fd = -1;
}

} // namespace

int64_t TSimulator::NowMs()
{
    return SteadyNs() / NsPerMs;
}

TSimulator::TSimulator(const TSimOptions &Options)
    : FRealtime(Options.Realtime), FOnEvent(Options.OnEvent), FDevice(Options.Device, NowMs()),
      FFaults(Options.Faults)
{
    try {
        FMaster = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (FMaster < 0)
            Fail("posix_openpt");
        char name[128];
        if (grantpt(FMaster) != 0 || unlockpt(FMaster) != 0 ||
            ptsname_r(FMaster, name, sizeof name) != 0)
            Fail("pseudo-terminal set-up");
        FSlavePath = name;
        FSlave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (FSlave < 0)
            Fail(name);
        // Raw from the start: a line that echoed would hand the logger its
        // own answers as commands before the other side sets its mode.
        termios t{};
        if (tcgetattr(FSlave, &t) != 0)
            Fail("tcgetattr");
        cfmakeraw(&t);
        t.c_cflag |= CLOCAL | CREAD;
        cfsetspeed(&t, B19200);
        if (tcsetattr(FSlave, TCSANOW, &t) != 0)
            Fail("tcsetattr");
        if (fcntl(FMaster, F_SETFL, fcntl(FMaster, F_GETFL) | O_NONBLOCK) != 0)
            Fail("fcntl");
        FWakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        if (FWakeFd < 0)
            Fail("eventfd");
        if (!Options.LogPath.empty()) {
            FLog = std::fopen(Options.LogPath.c_str(), "we");
            if (!FLog)
                Fail(Options.LogPath.c_str());
            setvbuf(FLog, nullptr, _IOLBF, 0);
        }
        FThread = std::thread([this] { Run(); });
    } catch (...) {
        CloseFd(FMaster);
        CloseFd(FSlave);
        CloseFd(FWakeFd);
        if (FLog)
            std::fclose(FLog);
        throw;
    }
}

void TSimulator::Log(int64_t NowNs, const char *Format, ...)
{
    if (!FLog)
        return;
    std::fprintf(FLog, "%lld.%03lld ", static_cast<long long>(NowNs / NsPerMs),
                 static_cast<long long>(NowNs % NsPerMs / 1000));
    va_list args;
    va_start(args, Format);
    std::vfprintf(FLog, Format, args);
    va_end(args);
    std::fputc('\n', FLog);
}

TSimulator::~TSimulator()
{
    {
        std::lock_guard<std::mutex> lock(FLock);
        FStopping = true;
    }
    FChanged.notify_all();
    Wake();
    FThread.join();
    CloseLine();
    CloseFd(FWakeFd);
    if (FLog)
        std::fclose(FLog);
}

void TSimulator::Wake()
{
    const uint64_t one = 1;
    [[maybe_unused]] ssize_t n = ::write(FWakeFd, &one, sizeof one);
}

void TSimulator::SetFaults(const TFaults &Faults)
{
    std::lock_guard<std::mutex> lock(FLock);
    FFaults = Faults;
}

TFaults TSimulator::Faults() const
{
    std::lock_guard<std::mutex> lock(FLock);
    return FFaults;
}

std::vector<uint8_t> TSimulator::Memory() const
{
    std::lock_guard<std::mutex> lock(FLock);
    return FDevice.Memory();
}

std::vector<uint8_t> TSimulator::Received() const
{
    std::lock_guard<std::mutex> lock(FLock);
    return FReceived;
}

uint64_t TSimulator::StreamedBytes() const
{
    std::lock_guard<std::mutex> lock(FLock);
    return FStreamed;
}

bool TSimulator::WaitStreamed(uint64_t Bytes, std::chrono::milliseconds Limit) const
{
    const auto end = std::chrono::steady_clock::now() + Limit;
    while (StreamedBytes() < Bytes) {
        if (std::chrono::steady_clock::now() >= end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

bool TSimulator::HungUp() const
{
    std::lock_guard<std::mutex> lock(FLock);
    return FHungUp;
}

void TSimulator::HangUp(std::chrono::milliseconds Limit)
{
    std::unique_lock<std::mutex> lock(FLock);
    if (!FHangUpRequested) {
        FHangUpRequested = true;
        FHangUpDeadlineNs = SteadyNs() + Limit.count() * NsPerMs;
    }
    Wake();
    FChanged.wait(lock, [this] { return FHungUp || FStopping; });
}

void TSimulator::CloseLine()
{
    CloseFd(FMaster);
    CloseFd(FSlave);
}

void TSimulator::EndLine()
{
    CloseLine();
    FHungUp = true;
    FChanged.notify_all();
}

void TSimulator::Queue(std::vector<TChunk> Chunks)
{
    // A partly written chunk keeps its place at the front.
    const auto first = FOutput.begin() + (FFrontWritten > 0 ? 1 : 0);
    for (TChunk &c : Chunks) {
        const auto at =
            std::upper_bound(first, FOutput.end(), c.DueMs,
                             [](int64_t due, const TChunk &x) { return due < x.DueMs; });
        FOutput.insert(at, std::move(c));
    }
}

void TSimulator::Receive(const uint8_t *Data, size_t Count, int64_t Now,
                         std::vector<std::string> &Events)
{
    const int64_t nowNs = SteadyNs();
    for (size_t i = 0; i < Count; ++i)
        Log(nowNs, "rx %02X", Data[i]);
    FReceived.insert(FReceived.end(), Data, Data + Count);
    if (FReceived.size() > ReceivedKeep)
        FReceived.erase(FReceived.begin(), FReceived.end() - ReceivedKeep / 2);
    for (size_t i = 0; i < Count; ++i) {
        if (FFaults.Silent)
            continue;
        // The logger stops a transfer to take a command, so an answer never
        // drowns in the rest of a memory image.
        if (!FOutput.empty() && FOutput.front().Stream)
            FFrontWritten = 0;
        std::erase_if(FOutput, [](const TChunk &c) { return c.Stream; });
        TResponse r = FDevice.Handle(Data[i], Now);
        if (!r.Event.empty())
            Events.push_back(std::move(r.Event));
        Queue(Transmit(r, FFaults, Now));
    }
}

int64_t TSimulator::NextWriteNs(int64_t NowNs) const
{
    if (FOutput.empty())
        return -1;
    int64_t at = FOutput.front().DueMs * NsPerMs;
    if (FRealtime && FFrontWritten > 0)
        at = std::max(at, FPaceStartNs + FPaceBytes * NsPerSecond / LineBytesPerSecond);
    return std::max(at, NowNs);
}

void TSimulator::WriteDue(int64_t NowNs)
{
    while (!FOutput.empty() && !FWriteBlocked) {
        TChunk &c = FOutput.front();
        if (c.DueMs * NsPerMs > NowNs)
            break;
        size_t count = c.Bytes.size() - FFrontWritten;
        if (FRealtime) {
            // A chunk that starts on an idle line starts the pacing afresh;
            // within a chunk a late wake-up catches up to the line rate.
            const int64_t nextSlot = FPaceStartNs + FPaceBytes * NsPerSecond / LineBytesPerSecond;
            if (FFrontWritten == 0 && NowNs > nextSlot) {
                FPaceStartNs = NowNs;
                FPaceBytes = 0;
            }
            const int64_t allowed =
                (NowNs - FPaceStartNs) * LineBytesPerSecond / NsPerSecond + 1 - FPaceBytes;
            if (allowed <= 0)
                break;
            count = std::min(count, size_t(allowed));
        }
        if (count > 0) {
            const ssize_t n = ::write(FMaster, c.Bytes.data() + FFrontWritten, count);
            if (n < 0) {
                if (errno == EAGAIN || errno == EWOULDBLOCK)
                    FWriteBlocked = true;
                else if (errno != EINTR)
                    FOutput.clear(); // the line is broken; nothing more gets through
                break;
            }
            Log(SteadyNs(), c.Stream ? "tx %zd stream" : "tx %zd", n);
            FFrontWritten += size_t(n);
            FLastWriteNs = NowNs;
            FPaceBytes += n;
            if (c.Stream)
                FStreamed += uint64_t(n);
            if (size_t(n) < count) {
                FWriteBlocked = true;
                break;
            }
        }
        if (FFrontWritten == c.Bytes.size()) {
            FOutput.pop_front();
            FFrontWritten = 0;
        }
    }
}

bool TSimulator::Drained(int64_t NowNs) const
{
    if (!FOutput.empty() || NowNs - FLastWriteNs < SettleNs)
        return false;
    int unread = 0;
    return ioctl(FSlave, FIONREAD, &unread) == 0 && unread == 0;
}

void TSimulator::Run()
{
    uint8_t input[512];
    std::vector<std::string> events;
    for (;;) {
        pollfd fds[2] = {{FMaster, 0, 0}, {FWakeFd, POLLIN, 0}};
        int64_t waitNs = -1;
        {
            std::lock_guard<std::mutex> lock(FLock);
            if (FStopping)
                return;
            const int64_t now = SteadyNs();
            if (FHangUpRequested && (Drained(now) || now >= FHangUpDeadlineNs))
                return EndLine();
            if (!FHangUpRequested)
                fds[0].events |= POLLIN;
            if (FWriteBlocked)
                fds[0].events |= POLLOUT;
            auto until = [&](int64_t atNs) {
                if (atNs < 0)
                    return;
                const int64_t wait = std::max<int64_t>(0, atNs - now);
                waitNs = waitNs < 0 ? wait : std::min(waitNs, wait);
            };
            const int64_t sample = FDevice.NextSampleMs();
            until(sample < 0 ? -1 : sample * NsPerMs);
            if (!FWriteBlocked)
                until(NextWriteNs(now));
            if (FHangUpRequested)
                until(std::min(now + HangUpPollNs, FHangUpDeadlineNs));
        }
        const timespec timeout{time_t(waitNs / NsPerSecond), long(waitNs % NsPerSecond)};
        if (ppoll(fds, 2, waitNs < 0 ? nullptr : &timeout, nullptr) < 0 && errno != EINTR) {
            std::lock_guard<std::mutex> lock(FLock);
            return EndLine();
        }
        if (fds[1].revents & POLLIN) {
            uint64_t count;
            [[maybe_unused]] ssize_t n = ::read(FWakeFd, &count, sizeof count);
        }
        ssize_t received = 0;
        if (fds[0].revents & POLLIN)
            received = ::read(FMaster, input, sizeof input);
        {
            std::lock_guard<std::mutex> lock(FLock);
            if (FStopping)
                return;
            const int64_t nowNs = SteadyNs();
            if (fds[0].revents & POLLOUT)
                FWriteBlocked = false;
            if (received > 0)
                Receive(input, size_t(received), nowNs / NsPerMs, events);
            FDevice.Advance(nowNs / NsPerMs);
            WriteDue(nowNs);
        }
        for (const std::string &e : events)
            if (FOnEvent)
                FOnEvent(e);
        events.clear();
    }
}

} // namespace orvasim
