// Measures what an open port costs: CPU while idle, events and CPU while a
// download arrives at the line rate, and the time to queue a whole image.
// The peer runs in a child process so that its work is not counted.
#include "CPort.h"
#include "Threads.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <pty.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

double CpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

QEventLoop *Running = nullptr;

// Runs the GUI thread's event loop for Ms milliseconds or until Done; the
// port's handler ends it early through Running.
template <typename F> void Serve(int Ms, F Done)
{
    QEventLoop loop;
    Running = &loop;
    QElapsedTimer t;
    t.start();
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, [&] {
        if (Done() || t.elapsed() >= Ms)
            loop.quit();
    });
    check.start(100);
    loop.exec();
    Running = nullptr;
}

pid_t Peer(int Master, size_t Bytes, int BytesPerSecond)
{
    const pid_t pid = fork();
    if (pid != 0)
        return pid;
    std::vector<uint8_t> data(Bytes);
    for (size_t i = 0; i < Bytes; ++i)
        data[i] = uint8_t(i);
    size_t sent = 0;
    const auto start = std::chrono::steady_clock::now();
    while (sent < Bytes) {
        size_t chunk = Bytes - sent;
        if (BytesPerSecond > 0) {
            // Bytes leave one at a time at the line rate, as from a UART.
            const auto due =
                start + std::chrono::microseconds(sent * 1000000 / size_t(BytesPerSecond));
            std::this_thread::sleep_until(due);
            chunk = 1;
        }
        const ssize_t n = write(Master, data.data() + sent, chunk);
        if (n > 0)
            sent += size_t(n);
    }
    _exit(0);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    setvbuf(stdout, nullptr, _IOLBF, 0);
    int master = -1, slave = -1;
    char name[256];
    if (openpty(&master, &slave, name, nullptr, nullptr) != 0) {
        std::perror("openpty");
        return 1;
    }
    TComPort port(nullptr);
    port.SetPort(name);
    port.SetBaudRate(br19200);
    port.SetEvents(TComEvents{evRxChar});
    port.Buffer()->SetInputSize(65536);
    int events = 0, queued = 0;
    port.OnRxChar = [&](TObject *, int Count) {
        ++events;
        queued = Count;
        if (Running && (queued == 19200 || queued == 65535))
            Running->quit();
    };
    port.OpenPort();

    double cpu = CpuSeconds();
    Serve(2000, [] { return false; });
    std::printf("idle port, 2 s:            %.4f s CPU\n", CpuSeconds() - cpu);

    cpu = CpuSeconds();
    pid_t peer = Peer(master, 19200, 1920);
    QElapsedTimer wall;
    wall.start();
    Serve(30000, [&] { return queued >= 19200; });
    waitpid(peer, nullptr, 0);
    std::printf("19,200 bytes at 1,920 B/s: %d events, %.4f s CPU, %.2f s wall, %d queued\n",
                events, CpuSeconds() - cpu, wall.elapsed() / 1000.0, queued);
    port.PurgeQueues(true, true);

    events = queued = 0;
    wall.restart();
    peer = Peer(master, 65535, 0);
    Serve(30000, [&] { return queued >= 65535; });
    const double ms = wall.nsecsElapsed() / 1e6;
    waitpid(peer, nullptr, 0);
    std::printf("65,535 bytes unpaced:      %.1f ms to queue, %d events, %d queued\n", ms, events,
                queued);
    port.ClosePort();
    close(slave);
    close(master);
    return 0;
}
