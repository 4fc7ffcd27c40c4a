// libFuzzer target: any bytes as a recording file, through loading, the run
// list, the run filter and the chart's layout. Built by a clang configuration:
//   CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DORVA_SANITIZE=ON \
//     -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link && cmake --build build/fuzz --target viewer_fuzz
//   ASAN_OPTIONS=detect_leaks=0 build/fuzz/bin/viewer_fuzz -max_len=4096 CORPUS
// (the application object is left for the process end, so leak checks stay off).
#include "Chart.h"
#include "Recording.h"

#include <QGuiApplication>

#include <cstdlib>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    new QGuiApplication(*argc, *argv); // lives for the whole run
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    const int fd = memfd_create("dts", 0);
    if (fd < 0 || write(fd, Data, Size) != ssize_t(Size))
        std::abort();
    TRecording data;
    data.Load("/proc/self/fd/" + std::to_string(fd));
    close(fd);
    TChart chart(nullptr);
    auto *temperature = new TLineSeries(&chart);
    auto *humidity = new TLineSeries(&chart);
    temperature->Marks().SetVisible(true);
    PlotAll(data, *temperature, *humidity);
    chart.Layout(QRectF(0, 0, 587, 360));
    for (const std::string &run : data.Runs)
        PlotRun(data, run, *temperature, *humidity);
    chart.SetView3D(true);
    chart.ZoomPercent(110);
    chart.Layout(QRectF(0, 0, 587, 360));
    (void)data.StartText(1);
    (void)data.EndText(data.PointCount);
    return 0;
}
