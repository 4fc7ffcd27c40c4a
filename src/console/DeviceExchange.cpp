#include "DeviceExchange.h"

#include "CPort.h"

#include <chrono>
#include <utility>

namespace logbridge {

namespace {

TTickSource &TickSource()
{
    static TTickSource source;
    return source;
}

} // namespace

uint32_t GetTickCount()
{
    if (const TTickSource &source = TickSource())
        return source();
    using namespace std::chrono;
    return uint32_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

TTickSource SetTickSource(TTickSource Source)
{
    return std::exchange(TickSource(), std::move(Source));
}

bool SendCommandByte(TCustomComPort &ComPort1, uint8_t Command)
{
    if (!ComPort1.Connected())
        return false;
    ComPort1.PurgeQueues(true, true);
    ComPort1.WriteBytes(&Command, 1);
    return true;
}

uint16_t ReadReplyByte(TCustomComPort &ComPort1, uint16_t Timeout)
{
    if (!ComPort1.Connected())
        return NoReply;
    const uint32_t start = GetTickCount();
    bool timedOut;
    for (;;) {
        // Elapsed time in unsigned 32 bits, so a wrap of the counter is harmless.
        const uint32_t elapsed = GetTickCount() - start;
        timedOut = elapsed >= Timeout;
        const bool queued = ComPort1.QueuedInputCount() > 0;
        if (timedOut || queued)
            break;
        // Asleep until the byte is queued or the time is up; no window
        // message is handled meanwhile.
        ComPort1.WaitForInput(Timeout - elapsed);
    }
    if (timedOut)
        return NoReply;
    uint8_t reply = 0;
    ComPort1.ReadBytes(&reply, 1);
    return reply;
}

bool LineHeld(const std::function<void()> &Exchange)
{
    try {
        Exchange();
        return true;
    } catch (const EComPort &E) {
        if (!IsLineFailure(E))
            throw;
        return false;
    }
}

uint16_t DeviceWord(uint16_t HighReply, uint16_t LowReply)
{
    return uint16_t((HighReply & 0xFF) * 256 + (LowReply & 0xFF));
}

} // namespace logbridge
