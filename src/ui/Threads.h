#pragma once
// Threads with the class library's synchronisation onto the GUI thread.
//
// A worker hands a call to the GUI thread and blocks until it has run there;
// an exception raised by the call travels back and is raised again in the
// worker. The GUI thread serves such calls from its event loop and also while
// it waits for a thread to end, so that ending a thread whose delivery is in
// flight never deadlocks.

#include <atomic>
#include <exception>
#include <functional>
#include <memory>
#include <thread>

// True on the thread that runs the application's event loop (the thread that
// created the QCoreApplication, or the first thread that asked before one existed).
bool IsMainThread();

// Runs every cross-thread call waiting for the GUI thread. Call on the GUI
// thread only; returns whether anything ran.
bool CheckSynchronize();

// One call handed to the GUI thread; the caller blocks until Finish.
class TCrossThreadCall {
public:
    virtual ~TCrossThreadCall() = default;
    virtual void Run() = 0;
    // Releases the waiting caller; later calls do nothing.
    void Finish(std::exception_ptr Error = nullptr);
    bool IsFinished() const;

private:
    friend void RunOnMainThread(const std::shared_ptr<TCrossThreadCall> &Call);
    friend bool CheckSynchronize();
    std::exception_ptr FError;
    bool FFinished = false;
    std::thread::id FCaller;
};

// Queues Call for the GUI thread and waits until it is finished (Run returned
// or the call finished itself early); then re-raises what Run raised.
// On the GUI thread itself it runs the call at once.
void RunOnMainThread(const std::shared_ptr<TCrossThreadCall> &Call);

class TThread {
public:
    enum TThreadPriority {
        tpIdle,
        tpLowest,
        tpLower,
        tpNormal,
        tpHigher,
        tpHighest,
        tpTimeCritical
    };

    // Created suspended or running; Execute runs on its own thread after Start.
    explicit TThread(bool CreateSuspended);
    // Ends the thread: Terminate, then WaitFor. Derived classes whose Execute
    // uses their own members must stop the thread in their own destructor.
    virtual ~TThread();
    TThread(const TThread &) = delete;
    TThread &operator=(const TThread &) = delete;

    void Start();
    void Terminate() { FTerminated = true; }
    bool Terminated() const { return FTerminated; }
    bool Finished() const { return FFinished; }
    // Blocks until Execute has returned. On the GUI thread it keeps serving
    // the cross-thread calls of every thread meanwhile, and releases this
    // thread from a call of its own that the GUI thread is running, so that
    // a handler may end the thread that delivered to it.
    void WaitFor();

    TThreadPriority Priority = tpNormal;
    // What escaped Execute, if anything; the thread ended with it.
    std::exception_ptr FatalException;

protected:
    virtual void Execute() = 0;
    // Runs Method on the GUI thread while this thread waits; an exception
    // from Method is raised again here.
    void Synchronize(const std::function<void()> &Method);

private:
    void Run();
    std::thread FThread;
    std::atomic<bool> FTerminated{false};
    std::atomic<bool> FFinished{false};
    bool FStarted = false;
};
