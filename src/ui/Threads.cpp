#include "Threads.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <vector>

namespace {

// One queue of calls for the GUI thread, shared by every worker. The GUI
// thread is woken through Qt's event loop, or directly when it waits in
// TThread::WaitFor.
struct SyncQueue {
    std::mutex Lock;
    std::condition_variable MainWake;   // calls queued or a thread ended
    std::condition_variable CallerWake; // a call finished
    std::deque<std::shared_ptr<TCrossThreadCall>> Calls;
    bool WakePosted = false;
};

SyncQueue &Queue()
{
    static SyncQueue q;
    return q;
}

std::thread::id FallbackMainThread = std::this_thread::get_id();

struct RunningCall {
    TCrossThreadCall *Call;
    std::thread::id Caller;
};
// The calls the GUI thread is in the middle of, innermost last.
std::vector<RunningCall> Running;

} // namespace

bool IsMainThread()
{
    if (QCoreApplication *app = QCoreApplication::instance())
        return app->thread() == QThread::currentThread();
    return std::this_thread::get_id() == FallbackMainThread;
}

void TCrossThreadCall::Finish(std::exception_ptr Error)
{
    SyncQueue &q = Queue();
    {
        std::lock_guard<std::mutex> lock(q.Lock);
        if (FFinished)
            return;
        FError = Error;
        FFinished = true;
    }
    q.CallerWake.notify_all();
}

bool TCrossThreadCall::IsFinished() const
{
    std::lock_guard<std::mutex> lock(Queue().Lock);
    return FFinished;
}

bool CheckSynchronize()
{
    SyncQueue &q = Queue();
    bool ran = false;
    for (;;) {
        std::shared_ptr<TCrossThreadCall> call;
        {
            std::lock_guard<std::mutex> lock(q.Lock);
            q.WakePosted = false;
            if (q.Calls.empty())
                return ran;
            call = q.Calls.front();
            q.Calls.pop_front();
        }
        ran = true;
        Running.push_back({call.get(), call->FCaller});
        try {
            call->Run();
            call->Finish();
        } catch (...) {
            call->Finish(std::current_exception());
        }
        Running.pop_back();
    }
}

void RunOnMainThread(const std::shared_ptr<TCrossThreadCall> &Call)
{
    if (IsMainThread()) {
        Call->Run();
        Call->Finish();
        return;
    }
    SyncQueue &q = Queue();
    Call->FCaller = std::this_thread::get_id();
    std::unique_lock<std::mutex> lock(q.Lock);
    q.Calls.push_back(Call);
    // Posted under the lock, which the GUI thread takes before it serves
    // the call: Qt hands its event over under a mutex ThreadSanitizer
    // cannot see, and this lock orders the hand-over where it can.
    if (!q.WakePosted) {
        q.WakePosted = true;
        if (QCoreApplication *app = QCoreApplication::instance()) {
            auto serve = [] { CheckSynchronize(); };
            QMetaObject::invokeMethod(app, serve, Qt::QueuedConnection);
        }
    }
    lock.unlock();
    q.MainWake.notify_all();
    lock.lock();
    q.CallerWake.wait(lock, [&] { return Call->FFinished; });
    std::exception_ptr error = Call->FError;
    lock.unlock();
    if (error)
        std::rethrow_exception(error);
}

TThread::TThread(bool CreateSuspended)
{
    if (!CreateSuspended)
        Start();
}

TThread::~TThread()
{
    Terminate();
    WaitFor();
}

void TThread::Start()
{
    if (FStarted)
        return;
    FStarted = true;
    FThread = std::thread([this] { Run(); });
}

void TThread::Run()
{
    try {
        Execute();
    } catch (...) {
        FatalException = std::current_exception();
    }
    SyncQueue &q = Queue();
    {
        std::lock_guard<std::mutex> lock(q.Lock);
        FFinished = true;
    }
    q.MainWake.notify_all();
}

void TThread::WaitFor()
{
    if (!FStarted || !FThread.joinable())
        return;
    if (IsMainThread()) {
        // The thread cannot end while it waits for a call further up this
        // stack; what that call raises from now on stays here.
        for (const RunningCall &r : Running)
            if (r.Caller == FThread.get_id())
                r.Call->Finish();
        SyncQueue &q = Queue();
        for (;;) {
            {
                std::unique_lock<std::mutex> lock(q.Lock);
                q.MainWake.wait(lock, [&] { return FFinished.load() || !q.Calls.empty(); });
                if (FFinished && q.Calls.empty())
                    break;
            }
            CheckSynchronize();
        }
    }
    FThread.join();
}

namespace {
class SyncCall : public TCrossThreadCall {
public:
    explicit SyncCall(const std::function<void()> &M) : Method(M) {}
    void Run() override { Method(); }
    // A copy: the caller may be released before the call returns.
    const std::function<void()> Method;
};
} // namespace

void TThread::Synchronize(const std::function<void()> &Method)
{
    RunOnMainThread(std::make_shared<SyncCall>(Method));
}
