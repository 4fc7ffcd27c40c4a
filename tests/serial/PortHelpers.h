#pragma once
#include "CPort.h"
#include "Pty.h"
#include "Threads.h"

#include <QCoreApplication>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

// Serves the GUI thread's events and deliveries until Done or the limit.
inline bool PumpUntil(const std::function<bool()> &Done, int Ms = 3000)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(Ms);
    while (!Done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        QCoreApplication::processEvents();
        CheckSynchronize();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

inline void Pump(int Ms)
{
    PumpUntil([] { return false; }, Ms);
}

// A port set up as the console sets its own, on the slave of Pty.
inline void ConsoleSettings(TComPort &Port, const TestPty &Pty)
{
    Port.SetName("ComPort1");
    Port.SetPort(Pty.Path);
    Port.SetBaudRate(br19200);
    Port.SetEvents(TComEvents{evRxChar});
    Port.Buffer()->SetInputSize(65536);
}

// Records the port's events by name, in order.
struct EventLog {
    std::vector<std::string> Names;
    void Attach(TComPort &Port)
    {
        auto note = [this](const char *n) { return [this, n](TObject *) { Names.push_back(n); }; };
        auto line = [this](const char *n) {
            return [this, n](TObject *, bool on) {
                Names.push_back(std::string(n) + (on ? "+" : "-"));
            };
        };
        Port.OnBeforeOpen = note("BeforeOpen");
        Port.OnAfterOpen = note("AfterOpen");
        Port.OnBeforeClose = note("BeforeClose");
        Port.OnAfterClose = note("AfterClose");
        Port.OnCTSChange = line("CTS");
        Port.OnDSRChange = line("DSR");
        Port.OnRLSDChange = line("RLSD");
    }
};
