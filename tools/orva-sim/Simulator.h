#pragma once
// The logger on the far end of a pseudo-terminal. The console (or a test)
// opens SlavePath() as its serial port; a thread of the simulator answers
// every command byte that arrives, takes samples while the logger samples,
// and writes without ever blocking, so a memory transfer that the other side
// is slow to read never holds up the answers to commands.

#include "SimDevice.h"
#include "SimFaults.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace orvasim {

constexpr int LineBytesPerSecond = 1920; // 19,200 baud, 8N1

struct TSimOptions {
    TDeviceOptions Device;
    bool Realtime = false; // pace everything sent at the real line rate
    TFaults Faults;
    // Told what a person beside the logger would notice; runs on the
    // simulator's thread, outside its lock.
    std::function<void(const std::string &)> OnEvent;
    // When set, a timed record of the line goes to this file: one line per
    // byte received, "<ms> rx <hex>", and one per write to the line,
    // "<ms> tx <bytes>" (with " stream" for memory transfers), the time in
    // milliseconds of the monotonic clock (std::chrono::steady_clock).
    std::string LogPath;
};

class TSimulator {
public:
    // Opens the pseudo-terminal and starts serving it. Throws
    // std::system_error when no pseudo-terminal can be had, and
    // std::invalid_argument for bad device options.
    explicit TSimulator(const TSimOptions &Options);
    // Stops at once; bytes not yet read by the other side are lost.
    ~TSimulator();
    TSimulator(const TSimulator &) = delete;
    TSimulator &operator=(const TSimulator &) = delete;

    const std::string &SlavePath() const { return FSlavePath; }

    void SetFaults(const TFaults &Faults);
    TFaults Faults() const;

    // Runs Action(TDevice &, int64_t NowMs) on the logger under the
    // simulator's lock and returns its result.
    template <class F> auto WithDevice(F &&Action)
    {
        struct TWake {
            TSimulator *Sim;
            ~TWake() { Sim->Wake(); }
        } wake{this};
        std::lock_guard<std::mutex> lock(FLock);
        return Action(FDevice, NowMs());
    }
    // The memory bytes in use.
    std::vector<uint8_t> Memory() const;
    // The bytes the other side has sent, in order (the latest MiB at most).
    std::vector<uint8_t> Received() const;
    // Bytes of memory transfers written to the line so far.
    uint64_t StreamedBytes() const;
    // Waits until memory transfers have written at least Bytes; false when
    // Limit passes first.
    bool WaitStreamed(uint64_t Bytes, std::chrono::milliseconds Limit) const;

    // Hangs up the line once everything the logger has queued for it has
    // been written and read by the other side, or when Limit has passed (a
    // pseudo-terminal drops what is unread when it closes); no command is
    // taken meanwhile. Returns when the line is down.
    void HangUp(std::chrono::milliseconds Limit = std::chrono::seconds(2));
    bool HungUp() const;

    // The monotonic clock the logger runs on.
    static int64_t NowMs();

private:
    void Run();
    void Wake();
    void Receive(const uint8_t *Data, size_t Count, int64_t Now, std::vector<std::string> &Events);
    void Queue(std::vector<TChunk> Chunks);
    void WriteDue(int64_t NowNs);
    int64_t NextWriteNs(int64_t NowNs) const;
    bool Drained(int64_t NowNs) const;
    void CloseLine();
    void EndLine(); // under the lock

    int FMaster = -1;
    int FSlave = -1; // held open so the line stays up between the other side's opens
    int FWakeFd = -1;
    std::string FSlavePath;
    bool FRealtime;
    std::function<void(const std::string &)> FOnEvent;
    std::FILE *FLog = nullptr;
    void Log(int64_t NowNs, const char *Format, ...) __attribute__((format(printf, 3, 4)));

    mutable std::mutex FLock;
    std::condition_variable FChanged;
    TDevice FDevice;
    TFaults FFaults;
    std::deque<TChunk> FOutput; // by due time; the front may be partly written
    size_t FFrontWritten = 0;
    bool FWriteBlocked = false;
    int64_t FLastWriteNs = 0;
    int64_t FPaceStartNs = 0; // realtime: byte k since then goes out at k / 1920 s
    int64_t FPaceBytes = 0;
    std::vector<uint8_t> FReceived;
    uint64_t FStreamed = 0;
    bool FHangUpRequested = false;
    int64_t FHangUpDeadlineNs = 0;
    bool FHungUp = false;
    bool FStopping = false;
    std::thread FThread;
};

} // namespace orvasim
