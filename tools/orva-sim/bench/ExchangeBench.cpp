// Time of one exchange, "E" and its reply, over the pseudo-terminal against
// the simulated logger, as the console makes it: empty both queues, write
// one byte, wait for one byte. Usage: orva-sim-bench [EXCHANGES]

#include "LineClient.h"
#include "Simulator.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace orvasim;

int main(int argc, char **argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 10000;
    if (count <= 0) {
        std::fprintf(stderr, "usage: orva-sim-bench [EXCHANGES]\n");
        return 2;
    }
    TSimulator sim(TSimOptions{});
    TLineClient line(sim.SlavePath());
    for (int i = 0; i < 200; ++i)
        line.Exchange(cmdPresence, 1000);

    std::vector<double> micros;
    micros.reserve(size_t(count));
    int wrong = 0;
    for (int i = 0; i < count; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const uint16_t reply = line.Exchange(cmdPresence, 1000);
        const auto end = std::chrono::steady_clock::now();
        if (reply != ReplyYesVersion3)
            ++wrong;
        micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    std::sort(micros.begin(), micros.end());
    auto at = [&](double q) {
        return micros[std::min(micros.size() - 1, size_t(q * micros.size()))];
    };
    std::printf("exchanges: %d, wrong replies: %d\n", count, wrong);
    std::printf("median %.1f us, p99 %.1f us, min %.1f us, max %.1f us\n", at(0.5), at(0.99),
                micros.front(), micros.back());
    return wrong == 0 ? 0 : 1;
}
