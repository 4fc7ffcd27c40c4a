#include "DownloadReport.h"

#include "ConsoleFiles.h"
#include "Format.h"
#include "LiveValues.h"

#include <algorithm>

namespace logbridge {

namespace {

const char *const Rule = "================================================";

class TReportWriter {
public:
    void Line(const std::string &Text)
    {
        FText += Text;
        FText += "\r\n";
    }
    std::string Take() { return std::move(FText); }

private:
    std::string FText;
};

std::string Degrees(const char *After)
{
    return std::string(1, DegreeSign) + After;
}

} // namespace

TReportRange ReportRange(TReportKind Kind, int32_t ByteCount)
{
    TReportRange r;
    if (Kind == TReportKind::rkDownload) {
        // The image is ByteCount + 1 bytes of the buffer.
        const int32_t n = std::clamp<int32_t>(ByteCount, 0, int32_t(ImageBufferSize) - 1);
        r.Records = n / RecordSize;
        r.EndOffset = n - RecordSize;
    } else {
        const int32_t n = std::clamp<int32_t>(ByteCount, 0, int32_t(ImageBufferSize));
        r.Records = n > 0 ? (n - 1) / RecordSize : 0;
        r.EndOffset = n - RecordSize - 1;
    }
    return r;
}

TExtremes ReportExtremes(const TImageBuffer &Image, int Records)
{
    TExtremes e;
    for (int k = 0; k < Records; ++k) {
        const MemoryRecord r = ReadMemoryRecord(Image, k);
        const double t = r.Temperature();
        const double rh = r.Humidity();
        if (t < e.MinTemperature)
            e.MinTemperature = t;
        if (rh < e.MinHumidity)
            e.MinHumidity = rh;
        if (t > e.MaxTemperature)
            e.MaxTemperature = t;
        if (rh > e.MaxHumidity)
            e.MaxHumidity = rh;
    }
    return e;
}

std::string ReportText(TReportKind Kind, const TImageBuffer &Image, int32_t ByteCount,
                       TDateTime Now, const std::function<void(int)> &Progress)
{
    const bool download = Kind == TReportKind::rkDownload;
    const TReportRange range = ReportRange(Kind, ByteCount);
    TReportWriter w;
    w.Line("{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fswiss MS Sans Serif;}{\\f1\\froman"
           "\\fcharset2 Symbol;}{\\f2\\fswiss\\fcharset1 MS Sans Serif;}{\\f3\\fswiss\\fcharset1 "
           "MS Sans Serif;}}");
    w.Line("{\\colortbl\\red0\\green0\\blue0;\\red0\\green0\\blue255;\\red255\\green0\\blue0;"
           "\\red0\\green128\\blue0;\\red128\\green128\\blue128;\\red128\\green0\\blue0;}");
    w.Line("\\deflang1033\\plain\\f3\\fs20\\cf0\\b");
    const TExtremes e = download ? ReportExtremes(Image, range.Records) : TExtremes{};
    for (int k = 0; k < range.Records; ++k) {
        if (Progress)
            Progress(k);
        if (k == 0) {
            w.Line("\\cf5");
            w.Line(Rule);
            w.Line("\\par");
            w.Line((download ? "Darazev izvrsena: " : "Export izvrsen: ") +
                   FormatDateTime("dd.mm.yyyy \"[\"hh:mm:ss\"]\"", Now));
            w.Line("\\par");
            w.Line("Podaci o zapisu: ");
            w.Line("\\par     POCETAK: ");
            w.Line(RecordStamp(ReadMemoryRecord(Image, 0)) + "    ");
            w.Line("\\par     KRAJ:      ");
            w.Line("   " + RecordStamp(ReadMemoryRecord(Image.data() + range.EndOffset)) + "    ");
            if (download) {
                w.Line("\\par Ekstremne vrednosti:");
                w.Line("\\par");
                w.Line("    Minimum: " + FormatFloat("00.00", e.MinTemperature) + Degrees("C  ") +
                       FormatFloat("00.00", e.MinHumidity) + " %RH");
                w.Line("\\par");
                w.Line("    Maximum:" + FormatFloat("00.00", e.MaxTemperature) + Degrees("C  ") +
                       FormatFloat("00.00", e.MaxHumidity) + " %RH");
                w.Line("\\par");
            }
            w.Line(Rule);
            w.Line("\\par");
            w.Line("\\par");
        }
        const MemoryRecord r = ReadMemoryRecord(Image, k);
        w.Line("\\plain\\f3\\fs20\\cf0\\b");
        w.Line(StampDate(r));
        w.Line("\\plain\\f3\\fs20\\cf1\\b[");
        w.Line(StampTime(r) + "]    ");
        w.Line("\\cf2");
        w.Line(FormatFloat("0.00", r.Temperature()) + Degrees("C   "));
        w.Line("\\cf3");
        w.Line(FormatFloat("0.00", r.Humidity()) + " %RH  ");
        w.Line("\\cf4");
        w.Line(FormatFloat("000", r.RunNumber()));
        w.Line("\\par");
    }
    w.Line("\\par }");
    return w.Take();
}

std::string WriteDownloadReportFile(const TConsoleState &State, const std::string &ProgramFolder,
                                    TDateTime Now, const std::function<void(int)> &Progress)
{
    const std::string path = ProgramFolder + "/last_bin.rtf";
    WriteWholeFile(path, ReportText(TReportKind::rkDownload, State.DownloadBuffer, State.ByteCount,
                                    Now, Progress));
    return path;
}

std::string WriteLoadReportFile(const TImageBuffer &Image, int32_t ByteCount,
                                const std::string &ProgramFolder, TDateTime Now,
                                const std::function<void(int)> &Progress)
{
    const std::string path = ProgramFolder + "/last_open.rtf";
    WriteWholeFile(path, ReportText(TReportKind::rkLoad, Image, ByteCount, Now, Progress));
    return path;
}

} // namespace logbridge
