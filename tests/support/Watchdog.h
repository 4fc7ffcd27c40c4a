#pragma once
// Ends the test program with a message when what it guards takes longer
// than its limit: a call that would wait for ever fails the run instead of
// hanging it.

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

class TWatchdog {
public:
    TWatchdog(std::string What, std::chrono::milliseconds Limit)
        : FWhat(std::move(What)), FThread([this, Limit] {
              std::unique_lock<std::mutex> lock(FLock);
              if (!FChanged.wait_for(lock, Limit, [this] { return FDone; })) {
                  std::fprintf(stderr, "watchdog: %s did not return within %lld ms\n",
                               FWhat.c_str(), static_cast<long long>(Limit.count()));
                  std::fflush(stderr);
                  std::abort();
              }
          })
    {
    }
    ~TWatchdog()
    {
        {
            std::lock_guard<std::mutex> lock(FLock);
            FDone = true;
        }
        FChanged.notify_all();
        FThread.join();
    }
    TWatchdog(const TWatchdog &) = delete;
    TWatchdog &operator=(const TWatchdog &) = delete;

private:
    std::string FWhat;
    std::mutex FLock;
    std::condition_variable FChanged;
    bool FDone = false;
    std::thread FThread;
};
