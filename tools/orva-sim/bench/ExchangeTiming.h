#pragma once
// Times a number of exchanges and prints the median and 99th percentile.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

// Exchange() returns whether the reply was the expected one. Returns the
// process exit code: 0 when every reply was right.
template <class F> int TimeExchanges(int argc, char **argv, const char *Name, F Exchange)
{
    const int count = argc > 1 ? std::atoi(argv[1]) : 10000;
    if (count <= 0) {
        std::fprintf(stderr, "usage: %s [EXCHANGES]\n", Name);
        return 2;
    }
    for (int i = 0; i < 200; ++i)
        Exchange();
    std::vector<double> micros;
    micros.reserve(size_t(count));
    int wrong = 0;
    for (int i = 0; i < count; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const bool right = Exchange();
        const auto end = std::chrono::steady_clock::now();
        wrong += !right;
        micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    std::sort(micros.begin(), micros.end());
    auto at = [&](double q) {
        return micros[std::min(micros.size() - 1, size_t(q * micros.size()))];
    };
    std::printf("%s: %d exchanges, %d wrong replies\n", Name, count, wrong);
    std::printf("median %.1f us, p99 %.1f us, min %.1f us, max %.1f us\n", at(0.5), at(0.99),
                micros.front(), micros.back());
    return wrong == 0 ? 0 : 1;
}
