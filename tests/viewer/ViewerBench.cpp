// Times the viewer on a full recording: loading to the end of the first
// paint, repaints zoomed out and in, peak memory; then gnuplot drawing the
// same two series to a PNG of the same size, for comparison.
// Usage: viewer_bench [width height]
#include "Chart.h"
#include "DtsWriter.h"
#include "Recording.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sys/resource.h>

namespace {

double Repaint(TChart &Chart, QImage &Image, int Rounds)
{
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < Rounds; ++i) {
        QPainter p(&Image);
        Chart.Draw(p, QRectF(Image.rect()));
    }
    return t.nsecsElapsed() / 1e6 / Rounds;
}

} // namespace

int main(int argc, char **argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    const int width = argc > 2 ? std::atoi(argv[1]) : 587;
    const int height = argc > 2 ? std::atoi(argv[2]) : 360;

    QTemporaryDir dir;
    const std::string file = dir.path().toStdString() + "/full.dts";
    const auto samples = DaySeries(MaxPoints, 60, 9000);
    WriteDts(file, samples);

    TChart chart(nullptr);
    auto *temperature = new TLineSeries(&chart);
    auto *humidity = new TLineSeries(&chart);
    temperature->SetSeriesColor(Qt::red);
    humidity->SetSeriesColor(Qt::green);
    temperature->SetLinePenWidth(2);
    humidity->SetLinePenWidth(2);
    temperature->SetTitle("Temperatura (\xB0"
                          "C)");
    humidity->SetTitle("Vlaznost (%RH)");
    chart.LeftAxis().SetTitleCaption("\xB0"
                                     "C i %RH");
    chart.LeftAxis().SetAutomaticMinimum(false);
    chart.BottomAxis().SetTitleCaption(" ");
    QImage image(width, height, QImage::Format_RGB32);
    {
        // Warm the font caches as a window shown before loading would have.
        QPainter p(&image);
        chart.Draw(p, QRectF(image.rect()));
    }

    TRecording data;
    QElapsedTimer t;
    t.start();
    data.Load(file);
    const double loaded = t.nsecsElapsed() / 1e6;
    PlotAll(data, *temperature, *humidity);
    const double plotted = t.nsecsElapsed() / 1e6;
    {
        QPainter p(&image);
        chart.Draw(p, QRectF(image.rect()));
    }
    const double painted = t.nsecsElapsed() / 1e6;

    const double out = Repaint(chart, image, 50);
    for (int i = 0; i < 20; ++i)
        chart.ZoomPercent(110);
    const double in = Repaint(chart, image, 50);
    const double inWidth = chart.XRange().Width();
    chart.UndoZoom();
    chart.SetView3D(true);
    const double out3d = Repaint(chart, image, 20);
    chart.SetView3D(false);
    temperature->Marks().SetVisible(true);
    humidity->Marks().SetVisible(true);
    const double marks = Repaint(chart, image, 20);

    temperature->Marks().SetVisible(false);
    humidity->Marks().SetVisible(false);
    chart.SetTitleText(data.DataFileName);
    {
        QPainter p(&image);
        chart.Draw(p, QRectF(image.rect()));
    }
    image.save("bench-chart.png");

    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    std::printf("points %d, chart %dx%d\n", data.PointCount, width, height);
    std::printf("load file             %8.1f ms\n", loaded);
    std::printf("fill series           %8.1f ms\n", plotted - loaded);
    std::printf("first full paint      %8.1f ms\n", painted - plotted);
    std::printf("load to painted       %8.1f ms\n", painted);
    std::printf("repaint zoomed out    %8.2f ms\n", out);
    std::printf("repaint zoomed in     %8.2f ms (x-range %.0f points)\n", in, inWidth);
    std::printf("repaint 3D            %8.2f ms\n", out3d);
    std::printf("repaint with marks    %8.2f ms\n", marks);
    std::printf("peak memory           %8.1f MB\n", ru.ru_maxrss / 1024.0);

    const std::string text = dir.path().toStdString() + "/full.txt";
    {
        std::ofstream o(text);
        for (std::size_t i = 0; i < samples.size(); ++i)
            o << i << ' ' << samples[i].Temperature << ' ' << samples[i].Humidity << '\n';
    }
    const std::string script = dir.path().toStdString() + "/plot.gp";
    {
        std::ofstream g(script);
        g << "set terminal pngcairo size " << width << "," << height << "\n"
          << "set output '" << dir.path().toStdString() << "/gnuplot.png'\n"
          << "set yrange [0:*]\n"
          << "plot '" << text << "' using 1:2 with lines lc rgb 'red' lw 2 title 'Temperatura', "
          << "'' using 1:3 with lines lc rgb 'green' lw 2 title 'Vlaznost'\n";
    }
    t.restart();
    const int rc = std::system(("gnuplot " + script + " 2>/dev/null").c_str());
    const double gnuplot = t.nsecsElapsed() / 1e6;
    QFile::remove("bench-gnuplot.png");
    QFile::copy(dir.path() + "/gnuplot.png", "bench-gnuplot.png");
    if (rc == 0)
        std::printf("gnuplot to PNG        %8.1f ms (text input, whole process)\n", gnuplot);
    else
        std::printf("gnuplot not available\n");
    return 0;
}
