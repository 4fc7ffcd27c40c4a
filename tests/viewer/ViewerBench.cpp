// Times the viewer's window on a full recording: refresh_data to the end of
// the first paint, repaints zoomed out and in, peak memory; then gnuplot
// drawing the same two series to a PNG of the chart's size, for comparison.
#include "DtsWriter.h"
#include "PlotviewForm.h"
#include "TestPictures.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sys/resource.h>

namespace {

// A synchronous repaint of the chart's widget, as an expose would cause.
double Repaint(QWidget *Chart, int Rounds)
{
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < Rounds; ++i)
        Chart->repaint();
    return t.nsecsElapsed() / 1e6 / Rounds;
}

} // namespace

int main(int argc, char **argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);

    QTemporaryDir dir;
    const std::string file = dir.path().toStdString() + "/full.dts";
    const auto samples = DaySeries(MaxPoints, 60, 9000);
    WriteDts(file, samples);

    // The viewer's window as a user sees it, shown and idle before the load.
    plotview::TForm1 form(nullptr);
    form.ShowForm();
    QApplication::processEvents();
    QWidget *chart = form.ChartView->Face();
    const int width = chart->width();
    const int height = chart->height();

    QElapsedTimer t;
    t.start();
    form.refresh_data(file);
    const double loaded = t.nsecsElapsed() / 1e6;
    form.repaint();
    const double painted = t.nsecsElapsed() / 1e6;

    const double out = Repaint(chart, 50);
    for (int i = 0; i < 20; ++i)
        form.dxButton5Click(nullptr);
    const double in = Repaint(chart, 50);
    const double inWidth = form.Chart1->XRange().Width();
    form.dxButton4Click(nullptr);
    form.CheckBox1->SetChecked(true);
    const double out3d = Repaint(chart, 20);
    form.CheckBox1->SetChecked(false);
    form.CheckBox2->SetChecked(true);
    const double marks = Repaint(chart, 20);
    form.CheckBox2->SetChecked(false);
    form.grab().save(testpictures::PicturePath("bench-window.png"));

    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    std::printf("points %d, chart %dx%d in the %dx%d window\n", form.Data.PointCount, width, height,
                form.Width(), form.Height());
    std::printf("refresh_data          %8.1f ms\n", loaded);
    std::printf("first full paint      %8.1f ms\n", painted - loaded);
    std::printf("refresh_data to paint %8.1f ms\n", painted);
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
          << "set output '" << testpictures::PicturePath("bench-gnuplot.png").toStdString() << "'\n"
          << "set yrange [0:*]\n"
          << "plot '" << text << "' using 1:2 with lines lc rgb 'red' lw 2 title 'Temperatura', "
          << "'' using 1:3 with lines lc rgb 'green' lw 2 title 'Vlaznost'\n";
    }
    t.restart();
    const int rc = std::system(("gnuplot " + script + " 2>/dev/null").c_str());
    const double gnuplot = t.nsecsElapsed() / 1e6;
    if (rc == 0)
        std::printf("gnuplot to PNG        %8.1f ms (text input, whole process)\n", gnuplot);
    else
        std::printf("gnuplot not available\n");
    return 0;
}
