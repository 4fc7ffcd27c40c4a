// Recordings are files a user can hand in: any bytes go through loading, the
// run list, the run filter and the chart's layout.
#include "Chart.h"
#include "FuzzFile.h"
#include "Recording.h"

#include <QGuiApplication>

#include <cstdlib>
#include <string>

// Fontconfig keeps a few bytes of its caches to the process end.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libfontconfig.so";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    // Text measuring needs the application object; it lives to the process end.
    static int argc = 1;
    static char name[] = "fuzz_dts";
    static char *argv[] = {name, nullptr};
    static QGuiApplication *app =
        (setenv("QT_QPA_PLATFORM", "offscreen", 0), new QGuiApplication(argc, argv));
    (void)app;
    TRecording data;
    data.Load(TFuzzFile(Data, Size).Path());
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
