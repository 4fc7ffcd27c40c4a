// Time of one paint of the console's memory bar (217 x 22, demoMetal with
// text), median over N paints. Usage: progress-bench [N]
#include "ControlLooks.h"
#include "ProgressCyl.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char **argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;

    TProgressCyl ProgressCyl2(nullptr);
    ProgressCyl2.SetBounds(0, 0, 217, 22);
    logbridge::MemoryUseBar(&ProgressCyl2);
    ProgressCyl2.SetMax(65535);

    std::vector<qint64> times;
    times.reserve(runs);
    QElapsedTimer timer;
    for (int i = 0; i < runs; ++i) {
        ProgressCyl2.SetPosition(i * 65535 / runs);
        timer.start();
        ProgressCyl2.Repaint();
        times.push_back(timer.nsecsElapsed());
    }
    std::sort(times.begin(), times.end());
    std::printf("progress-bench: paint of a 217 x 22 bar, median of %d: %.1f us (fastest %.1f, "
                "slowest %.1f)\n",
                runs, times[times.size() / 2] / 1000.0, times.front() / 1000.0,
                times.back() / 1000.0);
    return 0;
}
