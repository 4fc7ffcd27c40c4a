#include "Messages.h"

#include "Threads.h"

#include <mutex>

struct TUtilityWindow::State {
    std::mutex Lock;
    TWndMethod WndProc;
    bool Alive = true;
};

namespace {

class SentMessage : public TCrossThreadCall {
public:
    SentMessage(std::shared_ptr<TUtilityWindow::State> S, TMessage M)
        : Window(std::move(S)), Message(M)
    {
    }
    void Run() override;
    std::shared_ptr<TUtilityWindow::State> Window;
    TMessage Message;
    intptr_t Reply = 0;
    bool FromOtherThread = false;
};

thread_local SentMessage *CurrentSent = nullptr;

void SentMessage::Run()
{
    TUtilityWindow::TWndMethod proc;
    {
        std::lock_guard<std::mutex> lock(Window->Lock);
        if (!Window->Alive)
            return;
        proc = Window->WndProc;
    }
    SentMessage *outer = CurrentSent;
    CurrentSent = this;
    try {
        proc(Message);
    } catch (...) {
    }
    CurrentSent = outer;
    if (!IsFinished())
        Reply = Message.Result;
}

} // namespace

TUtilityWindow::TUtilityWindow(TWndMethod WndProc) : FState(std::make_shared<State>())
{
    FState->WndProc = std::move(WndProc);
}

TUtilityWindow::~TUtilityWindow()
{
    std::lock_guard<std::mutex> lock(FState->Lock);
    FState->Alive = false;
}

intptr_t TUtilityWindow::SendMessage(unsigned Msg, uintptr_t WParam, intptr_t LParam)
{
    auto call = std::make_shared<SentMessage>(FState, TMessage{Msg, WParam, LParam, 0});
    call->FromOtherThread = !IsMainThread();
    RunOnMainThread(call);
    return call->Reply;
}

bool InSendMessage()
{
    return CurrentSent && CurrentSent->FromOtherThread && !CurrentSent->IsFinished();
}

void ReplyMessage(intptr_t Result)
{
    if (!CurrentSent || CurrentSent->IsFinished())
        return;
    CurrentSent->Reply = Result;
    CurrentSent->Finish();
}
