#pragma once
// The console's exchange with the logger: one command byte out, one reply
// byte back. The reply is awaited on the GUI thread, which sleeps until the
// byte is queued or the time is up and serves nothing meanwhile; errors of
// the serial layer (EComPort) are not caught and end the handler that made
// the exchange.

#include <cstdint>
#include <functional>

class TCustomComPort;

namespace logbridge {

// What ReadReplyByte returns when no byte came.
constexpr uint16_t NoReply = 0xFFFF;

// The system's millisecond tick count: 32 bits, wrapping every 49.7 days.
uint32_t GetTickCount();
// Replaces the tick count that the reply wait measures against, so that a
// test can put it near a wrap or step it by hand; an empty source restores
// the system's. Returns the source it replaces. GUI thread only.
using TTickSource = std::function<uint32_t()>;
TTickSource SetTickSource(TTickSource Source);

// Empties both port queues and writes the one byte. Returns false, sending
// nothing, while the port is closed.
bool SendCommandByte(TCustomComPort &ComPort1, uint8_t Command);

// The next byte from the device (0..255) within Timeout ms, else NoReply,
// also when the byte arrived in the pass that found the time up. Returns
// NoReply at once while the port is closed.
uint16_t ReadReplyByte(TCustomComPort &ComPort1, uint16_t Timeout);

// Runs Exchange; false when the line failed under it (the device went: a
// transfer, a purge or a status query failed), which the console takes as a
// logger that does not answer. Other serial errors go on to the caller.
bool LineHeld(const std::function<void()> &Exchange);

// A 16-bit device word from the replies to its high and low byte requests,
// each counted with its low 8 bits: a byte that timed out counts as 255.
uint16_t DeviceWord(uint16_t HighReply, uint16_t LowReply);

} // namespace logbridge
