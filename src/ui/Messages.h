#pragma once
// Hidden utility windows: a window procedure on the GUI thread that other
// threads reach with SendMessage, as the class library's AllocateHWnd gives.

#include <cstdint>
#include <functional>
#include <memory>

struct TMessage {
    unsigned Msg = 0;
    uintptr_t WParam = 0;
    intptr_t LParam = 0;
    intptr_t Result = 0;
};

constexpr unsigned WM_USER = 0x0400;

class TUtilityWindow {
public:
    using TWndMethod = std::function<void(TMessage &)>;
    explicit TUtilityWindow(TWndMethod WndProc);
    // Destroys the window: later sends return 0 without running anything.
    ~TUtilityWindow();
    TUtilityWindow(const TUtilityWindow &) = delete;
    TUtilityWindow &operator=(const TUtilityWindow &) = delete;

    // Runs the window procedure on the GUI thread and returns its result; a
    // sender on another thread waits until the procedure returns or calls
    // ReplyMessage. An exception escaping the procedure is dropped here; the
    // procedure handles its own.
    intptr_t SendMessage(unsigned Msg, uintptr_t WParam, intptr_t LParam);

    struct State; // shared with the calls in flight, which outlive a destroyed window

private:
    std::shared_ptr<State> FState;
};

// Inside a window procedure: whether the message being handled was sent from
// another thread that still waits for it.
bool InSendMessage();
// Releases the sending thread at once with Result; the procedure goes on.
void ReplyMessage(intptr_t Result);

// The window procedure's default for messages it does not handle.
inline intptr_t DefWindowProc(const TMessage &)
{
    return 0;
}
