// Time of one RenderLed for the console's poll lamp (41 x 9 window) and for a
// large 200 x 200 lamp; median over the runs.
// Usage: led-bench [RUNS]

#include "IAgaloLED.h"

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

double MedianMicros(TIAgaloLED &Led, int Runs)
{
    std::vector<double> micros;
    micros.reserve(size_t(Runs));
    for (int i = 0; i < Runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        Led.RenderLed();
        const auto end = std::chrono::steady_clock::now();
        micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    std::nth_element(micros.begin(), micros.begin() + Runs / 2, micros.end());
    return micros[size_t(Runs / 2)];
}

} // namespace

int main(int argc, char **argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::atoi(argv[1]) : 1000;
    if (runs <= 0) {
        std::fprintf(stderr, "usage: led-bench [RUNS]\n");
        return 2;
    }

    TIAgaloLED poll(nullptr);
    poll.HandleNeeded();
    poll.SetLedWidth(37);
    poll.SetLedHeight(5);
    poll.SetLedPlasticColor(clAqua);
    poll.SetLedOn(true);

    TIAgaloLED large(nullptr);
    large.HandleNeeded();
    large.SetLedWidth(200);
    large.SetLedHeight(200);
    large.SetLedOn(true);

    TIAgaloLED round(nullptr);
    round.HandleNeeded();
    round.SetLedClass(ialcRound);
    round.SetLedWidth(200);
    round.SetLedHeight(200);
    round.SetGap(2);
    round.SetInnerBorderStyle(iablsUp);
    round.SetInnerBorderDepth(2);
    round.SetLedOn(true);

    std::printf("RenderLed, median of %d runs\n", runs);
    std::printf("  %3d x %-3d rectangle: %8.1f us\n", poll.Width(), poll.Height(),
                MedianMicros(poll, runs));
    std::printf("  %3d x %-3d rectangle: %8.1f us\n", large.Width(), large.Height(),
                MedianMicros(large, runs));
    std::printf("  %3d x %-3d round, three rings: %8.1f us\n", round.Width(), round.Height(),
                MedianMicros(round, runs));
    return 0;
}
