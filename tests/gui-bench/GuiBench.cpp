// What the two windows cost while a user looks at them: processor time of
// the console idle and linked to the simulated logger (answering at once,
// and 16 ms late as through a USB adapter), of the viewer idle
// with a full recording shown, of the console over a whole memory download
// at the real line rate, and the time of one full repaint of the console's
// main page and of the viewer's chart. The logger is the orva-sim program
// beside this one, so its own work is not counted.
// Usage: gui-bench [IDLE_SECONDS]

#include "Chart.h"
#include "CPort.h"
#include "Dialogs.h"
#include "DtsWriter.h"
#include "IniFile.h"
#include "MainForm.h"
#include "PlotviewForm.h"
#include "QuietDialogs.h"
#include "Recording.h"
#include "RichEdit.h"
#include "SerialPorts.h"
#include "WidgetControl.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <sys/resource.h>
#include <vector>

namespace {

// Processor time of this process (all its threads) so far, in seconds.
double CpuSeconds()
{
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    return ru.ru_utime.tv_sec + ru.ru_stime.tv_sec +
           (ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e6;
}

// Processor time of this process's GUI thread so far, in seconds.
double GuiThreadCpuSeconds()
{
    rusage ru{};
    getrusage(RUSAGE_THREAD, &ru);
    return ru.ru_utime.tv_sec + ru.ru_stime.tv_sec +
           (ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e6;
}

// Runs the event loop for Ms milliseconds.
void Serve(int Ms)
{
    QEventLoop loop;
    QTimer::singleShot(Ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Runs the event loop until Done or Ms milliseconds; whether Done came.
// Looks only now and then: the looking is the benchmark's, not the program's.
bool ServeUntil(const std::function<bool()> &Done, int Ms)
{
    QElapsedTimer t;
    t.start();
    QEventLoop loop;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, &loop, [&] {
        if (Done() || t.elapsed() > Ms)
            loop.quit();
    });
    look.start(250);
    if (!Done())
        loop.exec();
    return Done();
}

// The processor time the event loop uses over Seconds.
double IdleCpu(int Seconds)
{
    const double before = CpuSeconds();
    Serve(Seconds * 1000);
    return CpuSeconds() - before;
}

double Median(std::vector<double> V)
{
    std::sort(V.begin(), V.end());
    return V[V.size() / 2];
}

// The simulated logger as a program, its line reached through Link.
class TLogger {
public:
    TLogger(const QString &Link, const QStringList &Options)
    {
        const QString program = QCoreApplication::applicationDirPath() + "/orva-sim";
        FProcess.setProgram(program);
        FProcess.setArguments(QStringList{"--link", Link} + Options);
        FProcess.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        FProcess.start();
        if (!FProcess.waitForStarted(5000) ||
            !ServeUntil([&] { return QFileInfo::exists(Link); }, 5000)) {
            std::fprintf(stderr, "gui-bench: %s did not start\n", qPrintable(program));
            std::exit(1);
        }
    }
    ~TLogger()
    {
        FProcess.terminate();
        FProcess.waitForFinished(5000);
    }

private:
    QProcess FProcess;
};

// A console window linked to the logger at Port, shown, with its
// activation done.
std::unique_ptr<logbridge::TForm1> LinkedConsole(const std::string &Folder, const std::string &Port)
{
    TComPort settings(nullptr);
    settings.SetName("ComPort1");
    settings.SetPort(Port);
    settings.SaveSettings(ssIniFile, Folder + "/comport.ini");
    PublishSerialPorts({Port});
    auto form = std::make_unique<logbridge::TForm1>(nullptr);
    form->SettingsFolder = Folder;
    form->ShowForm();
    form->Activate();
    if (!ServeUntil([&] { return form->DeviceConnected; }, 5000)) {
        std::fprintf(stderr, "gui-bench: the console did not link to %s\n", Port.c_str());
        std::exit(1);
    }
    return form;
}

// Every control of a window invalidated, then the window painted at once.
void InvalidateAll(TControl *Control)
{
    Control->Invalidate();
    if (auto windowed = dynamic_cast<TWinControl *>(Control))
        for (TControl *child : windowed->Controls())
            InvalidateAll(child);
}

double FullRepaintMs(TControl *Window, int Rounds)
{
    std::vector<double> times;
    for (int i = 0; i < Rounds; ++i) {
        InvalidateAll(Window);
        QElapsedTimer t;
        t.start();
        Window->repaint();
        times.push_back(t.nsecsElapsed() / 1e6);
    }
    return Median(times);
}

} // namespace

int main(int argc, char **argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    const int idle = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;

    QTemporaryDir dir;
    setenv("ORVA_REGISTRY_DIR", qPrintable(dir.filePath("registry")), 1);
    const std::string folder = dir.path().toStdString();
    QDir(dir.path()).mkdir("bin_fajlovi");
    TQuietDialogs quiet;
    Application->Title = "REZO3 Varadudivezu";
    const QString link = dir.filePath("ttyORVA");

    double consoleIdle = 0, consoleIdleLate = 0, mainPage = 0;
    // Replies at once, and 16 ms late as through a USB adapter's latency timer.
    for (const bool late : {false, true}) {
        QStringList options{"--records", "500"};
        if (late)
            options << "--late"
                    << "16";
        TLogger logger(link, options);
        auto form = LinkedConsole(folder, link.toStdString());
        Serve(2000);
        (late ? consoleIdleLate : consoleIdle) = IdleCpu(idle);
        if (!late)
            mainPage = FullRepaintMs(form.get(), 20);
    }

    double download = 0, downloadGui = 0, downloadSeconds = 0, report = 0;
    int downloaded = 0;
    {
        TLogger logger(link, {"--records", "5461", "--realtime"});
        auto form = LinkedConsole(folder, link.toStdString());
        Serve(1000);
        const double before = CpuSeconds(), beforeGui = GuiThreadCpuSeconds();
        QElapsedTimer t;
        t.start();
        form->dxButton3Click(nullptr);
        if (!ServeUntil([&] { return !form->DownloadActive; }, 60000)) {
            std::fprintf(stderr, "gui-bench: the download did not end\n");
            return 1;
        }
        download = CpuSeconds() - before;
        downloadGui = GuiThreadCpuSeconds() - beforeGui;
        downloadSeconds = t.elapsed() / 1000.0;
        downloaded = form->ByteCount;
        // Its end writes the report and shows it: a few more times on its own.
        std::vector<double> reports;
        for (int i = 0; i < 5; ++i) {
            // As after a download: the view holds another text.
            form->RichEdit1->Lines.Clear();
            const double beforeReport = GuiThreadCpuSeconds();
            form->WriteDownloadReport();
            reports.push_back(GuiThreadCpuSeconds() - beforeReport);
        }
        report = Median(reports);
    }

    double viewerIdle = 0, chart = 0;
    int points = 0;
    {
        const std::string file = folder + "/full.dts";
        WriteDts(file, DaySeries(MaxPoints, 60, 9000));
        plotview::TForm1 form(nullptr);
        form.ShowForm();
        form.refresh_data(file);
        points = form.Data.PointCount;
        Serve(2000);
        viewerIdle = IdleCpu(idle);
        QWidget *view = form.ChartView->Face();
        std::vector<double> times;
        for (int i = 0; i < 20; ++i) {
            form.Chart1->Changed();
            QElapsedTimer t;
            t.start();
            view->repaint();
            times.push_back(t.nsecsElapsed() / 1e6);
        }
        chart = Median(times);
    }

    std::printf("console idle, linked        %7.3f s CPU in %d s\n", consoleIdle, idle);
    std::printf("  16 ms reply latency        %7.3f s CPU in %d s\n", consoleIdleLate, idle);
    std::printf("viewer idle, %5d points    %7.3f s CPU in %d s\n", points, viewerIdle, idle);
    std::printf("download of %5d bytes      %7.3f s CPU in %.1f s (GUI thread %.3f s)\n",
                downloaded, download, downloadSeconds, downloadGui);
    std::printf("  of which the report        %7.3f s CPU (written and shown)\n", report);
    std::printf("console main page repaint   %7.2f ms\n", mainPage);
    std::printf("viewer chart repaint        %7.2f ms\n", chart);
    return 0;
}
