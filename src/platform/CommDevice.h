#pragma once
// The serial device as the comm layer needs it, on POSIX termios.
//
// Received bytes are drained from the descriptor by a reader thread into an
// input queue of the size given by SetupComm, because a tty keeps only a few
// kilobytes while the console lets a whole 64 KiB memory image pile up
// before it reads it. Bytes that do not fit are counted as an overrun
// (CE_RXOVER), never left to block the sender.
//
// Failing calls return false and leave the system error code in errno.

#include <termios.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Device-control block: the line settings, with the fields and values of the
// Windows DCB.
struct TDcb {
    uint32_t DCBlength = 28;
    uint32_t BaudRate = 0;
    bool fBinary = false;
    bool fParity = false;
    bool fOutxCtsFlow = false;
    bool fOutxDsrFlow = false;
    uint8_t fDtrControl = 0; // 0 disable, 1 enable, 2 handshake
    bool fDsrSensitivity = false;
    bool fTXContinueOnXoff = false;
    bool fOutX = false;
    bool fInX = false;
    bool fErrorChar = false;
    bool fNull = false;
    uint8_t fRtsControl = 0; // 0 disable, 1 enable, 2 handshake, 3 toggle
    bool fAbortOnError = false;
    uint16_t XonLim = 0;
    uint16_t XoffLim = 0;
    uint8_t ByteSize = 0;
    uint8_t Parity = 0;   // 0 none, 1 odd, 2 even, 3 mark, 4 space
    uint8_t StopBits = 0; // 0 one, 1 one and a half, 2 two
    char XonChar = 0;
    char XoffChar = 0;
    char ErrorChar = 0;
    char EofChar = 0;
    char EvtChar = 0;
    bool operator==(const TDcb &) const = default;
};

struct TCommTimeouts {
    uint32_t ReadIntervalTimeout = 0;
    uint32_t ReadTotalTimeoutMultiplier = 0;
    uint32_t ReadTotalTimeoutConstant = 0;
    uint32_t WriteTotalTimeoutMultiplier = 0;
    uint32_t WriteTotalTimeoutConstant = 0;
};

struct TComStat {
    uint32_t cbInQue = 0;
    uint32_t cbOutQue = 0;
};

// Event mask bits.
inline constexpr uint32_t EV_RXCHAR = 0x0001;
inline constexpr uint32_t EV_RXFLAG = 0x0002;
inline constexpr uint32_t EV_TXEMPTY = 0x0004;
inline constexpr uint32_t EV_CTS = 0x0008;
inline constexpr uint32_t EV_DSR = 0x0010;
inline constexpr uint32_t EV_RLSD = 0x0020;
inline constexpr uint32_t EV_BREAK = 0x0040;
inline constexpr uint32_t EV_ERR = 0x0080;
inline constexpr uint32_t EV_RING = 0x0100;
inline constexpr uint32_t EV_PERR = 0x0200;
inline constexpr uint32_t EV_RX80FULL = 0x0400;

// Line error bits.
inline constexpr uint32_t CE_RXOVER = 0x0001;
inline constexpr uint32_t CE_OVERRUN = 0x0002;
inline constexpr uint32_t CE_RXPARITY = 0x0004;
inline constexpr uint32_t CE_FRAME = 0x0008;
inline constexpr uint32_t CE_BREAK = 0x0010;
inline constexpr uint32_t CE_TXFULL = 0x0100;
inline constexpr uint32_t CE_IOE = 0x0400;
inline constexpr uint32_t CE_MODE = 0x8000;

// Purge flags.
inline constexpr uint32_t PURGE_TXABORT = 0x01;
inline constexpr uint32_t PURGE_RXABORT = 0x02;
inline constexpr uint32_t PURGE_TXCLEAR = 0x04;
inline constexpr uint32_t PURGE_RXCLEAR = 0x08;

// Modem status bits.
inline constexpr uint32_t MS_CTS_ON = 0x10;
inline constexpr uint32_t MS_DSR_ON = 0x20;
inline constexpr uint32_t MS_RING_ON = 0x40;
inline constexpr uint32_t MS_RLSD_ON = 0x80;

// Manual-reset event that a comm wait can be stopped with.
class TEvent {
public:
    explicit TEvent(bool Signalled = false) : FSet(Signalled) {}
    void SetEvent();
    void ResetEvent();
    bool IsSet() const;

private:
    friend class TCommDevice;
    mutable std::mutex FLock;
    bool FSet;
    std::vector<std::function<void()>> FListeners;
};

// Translates the line settings into Base's termios. Returns 0, or EINVAL for
// settings a serial line cannot have (data bits outside 5..8, one and a half
// stop bits with other than 5 data bits, two stop bits with 5, a zero rate,
// an unknown parity or stop-bit code). CustomRate receives the rate when it
// has no standard termios speed (set with termios2), else 0.
int DcbToTermios(const TDcb &Dcb, const termios &Base, termios &Result, uint32_t &CustomRate);

// Undoes the input marking of PARMRK: "\377\0X" is a byte X received with a
// parity or framing error, "\377\377" a received $FF. Bad bytes become
// Replacement when Replace is set and stay X otherwise. State carries a
// marker split between two reads; returns the number of bad bytes seen.
struct TMarkState {
    int Pending = 0; // bytes of an unfinished marker seen so far
};
int UnmarkInput(const uint8_t *In, size_t Count, std::vector<uint8_t> &Out, TMarkState &State,
                bool Replace, uint8_t Replacement);

// Line speed of a tty in bit/s, also for rates without a standard termios
// speed; returns 0 or the error code.
int GetCommSpeed(int Fd, uint32_t &Rate);

// Maps a port name to its device path: a path stays, a bare name is under /dev.
std::string DevicePath(const std::string &Port);

class TCommDevice {
public:
    // Opens the device for exclusive use in raw mode and starts draining it.
    // Returns null with errno set when it cannot.
    static std::unique_ptr<TCommDevice> Open(const std::string &Port);
    // Stops the reader, restores the device's own settings and closes it.
    ~TCommDevice();
    TCommDevice(const TCommDevice &) = delete;
    TCommDevice &operator=(const TCommDevice &) = delete;

    bool SetCommState(const TDcb &Dcb);
    bool SetCommTimeouts(const TCommTimeouts &Timeouts);
    // Input queue of InSize bytes (0: 4096); OutSize is accepted as a hint.
    bool SetupComm(int32_t InSize, int32_t OutSize);
    // Sets the events that waits report; ends a wait in progress with mask 0
    // and forgets events seen before.
    bool SetCommMask(uint32_t Mask);

    enum TWaitResult { wrEvent, wrStopped, wrFailed };
    // Blocks until an event of the mask happens (Mask receives the events,
    // each reported once), Stop is set, or the device is gone (wrFailed,
    // errno EIO, once every earlier event has been reported).
    TWaitResult WaitCommEvent(uint32_t &Mask, TEvent &Stop);

    // Writes within the write time-outs; Written can be short on a time-out.
    bool Write(const void *Buffer, uint32_t Count, uint32_t &Written);
    // Reads from the input queue within the read time-outs.
    bool Read(void *Buffer, uint32_t Count, uint32_t &ReadCount);
    // Blocks until the input queue holds a byte or Milliseconds have passed;
    // true when one is. Takes nothing from the queue and clears no error; on
    // a device that is gone, where nothing more comes, it waits out the time.
    bool WaitForInput(uint32_t Milliseconds);
    bool Purge(uint32_t Flags);
    // Returns and clears the line errors; Stat gets the queue counts.
    bool ClearCommError(uint32_t &Errors, TComStat &Stat);
    // Modem input lines; all off where the device has none (a pseudo-terminal).
    bool GetCommModemStatus(uint32_t &Status);

    bool HungUp() const;

private:
    explicit TCommDevice(int Fd);
    void ReaderLoop();
    // Takes in what the driver holds; false when the device is gone.
    bool DrainLocked();
    // Waits until bytes are queued, the queue or the device changes, or
    // Deadline, then takes in what the driver holds.
    void AwaitInputLocked(std::unique_lock<std::mutex> &Lock,
                          std::chrono::steady_clock::time_point Deadline);
    void MarkHungUpLocked();
    void Receive(const uint8_t *Data, size_t Count);
    void PollLineState();
    void Raise(uint32_t Events);
    void Wake();

    int FFd;
    int FWakeFd;
    termios FSaved{};
    bool FHaveSaved = false;
    bool FModemLines = false;
    bool FErrorCounters = false;

    mutable std::mutex FLock;
    std::condition_variable FEventChanged; // events raised, mask changed, device gone
    std::condition_variable FDataChanged;  // bytes queued, reads aborted, device gone
    size_t FReceived = 0;
    std::vector<uint8_t> FQueue; // ring buffer
    size_t FHead = 0, FCount = 0;
    uint32_t FMask = 0;
    uint32_t FPending = 0;
    uint64_t FMaskGeneration = 0;
    uint32_t FErrors = 0;
    bool FHungUp = false;
    bool FStopping = false;
    bool FTxEmptyWatch = false;
    bool FRxEventDeferred = false;
    int FInputWaiters = 0; // while someone waits for input the reader does not rest
    std::chrono::steady_clock::time_point FLastRxEvent;
    std::atomic<uint64_t> FReadAborts{0};
    std::atomic<uint64_t> FWriteAborts{0};
    TDcb FDcb;
    TMarkState FMarkState;
    TCommTimeouts FTimeouts;
    uint32_t FModemState = 0;
    int FIcount[5] = {0, 0, 0, 0, 0}; // frame, parity, overrun, brk, buf_overrun
    std::thread FReader;
};
