// The console's memory tab end to end against the simulated logger: the
// download and its end, memory images through the file dialogs, the
// reports, recordings and the viewer's start.

#include "ConsoleFormFixture.h"
#include "FileText.h"

#include "DtsExport.h"
#include "LiveValues.h"
#include "Math.h"
#include "Text.h"

#include <QFontMetrics>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

using namespace logbridge;
using namespace consoletest;

namespace {

std::vector<uint8_t> FileBytes(const std::string &Path)
{
    const std::string text = FileText(Path);
    return {text.begin(), text.end()};
}

size_t Occurrences(const std::string &Text, const std::string &Part)
{
    size_t n = 0;
    for (size_t at = Text.find(Part); at != std::string::npos; at = Text.find(Part, at + 1))
        ++n;
    return n;
}

// The report from its first record line on: the same records give the same tail.
std::string RecordLines(const std::string &Report)
{
    const size_t header = Report.find("\\par\r\n\\par\r\n");
    const size_t at = Report.find("\\plain\\f3\\fs20\\cf0\\b\r\n", header);
    return at == std::string::npos ? "" : Report.substr(at);
}

std::string StampOf(const std::vector<uint8_t> &Memory, int Record)
{
    return RecordStamp(ReadMemoryRecord(Memory.data() + Record * RecordSize));
}

bool SameBytes(const std::vector<uint8_t> &Memory, const TImageBuffer &Image, size_t Count)
{
    return Count <= Memory.size() && std::memcmp(Memory.data(), Image.data(), Count) == 0;
}

class MemoryTab : public ConsoleForm {
protected:
    bool Downloaded(std::chrono::milliseconds Limit = std::chrono::seconds(10))
    {
        return ServeUntil([this] { return !Form->DownloadActive; }, Limit);
    }
    std::string File(const std::string &Name) const { return Folder() + "/" + Name; }
    // Starts a download whose stream breaks off after Limit bytes and waits
    // until the window has shown them all; the download stays open.
    void StartCutDownload(orvasim::TSimulator &Sim, size_t Limit)
    {
        orvasim::TFaults cut;
        cut.StreamLimit = Limit;
        Sim.SetFaults(cut);
        Form->DownloadStallMs = 60000;
        Form->dxButton3Click(Form->dxButton3);
        const std::string shown = "Preuzeto: " + std::to_string(Limit + 1) + " By | 0 kB";
        ASSERT_TRUE(
            ServeUntil([&] { return Form->Label13->Caption() == shown; }, std::chrono::seconds(2)));
    }
};

// ---------------------------------------------------------------- download

TEST_F(MemoryTab, DownloadTakesTheMemorySavesTheImageAndShowsTheReport)
{
    orvasim::TSimulator sim(SimOptions());
    TForm1 &f = Linked(sim);
    const std::vector<uint8_t> memory = sim.Memory();
    ASSERT_EQ(memory.size(), 6000u);
    Boxes.Files = {File("mem.bin")};

    // F3 from the focused field, with the button disabled; the key goes on.
    f.dxButton3->SetEnabled(false);
    EXPECT_TRUE(f.Edit3->HandleKeyDown(VK_F3, 0));
    EXPECT_EQ(ReceivedWhen(sim, 7), "EEUAaSR");
    EXPECT_EQ(f.Label15->Caption(), "Ukupno: 6000By");
    EXPECT_TRUE(f.ProgressBar1->Visible());
    ExpectControlsEnabled(false);
    EXPECT_EQ(f.ByteCount, 0) << "the image held keeps its size until the stream is whole";

    ASSERT_TRUE(Downloaded());
    EXPECT_EQ(f.ByteCount, 6000);
    EXPECT_TRUE(SameBytes(memory, f.DownloadBuffer, memory.size()));
    EXPECT_EQ(f.WorkBuffer, f.DownloadBuffer);
    EXPECT_EQ(f.Label13->Caption(), "Preuzeto: 6000 By | 5 kB");
    EXPECT_EQ(f.Caption(), WindowCaption);
    EXPECT_EQ(f.Label10->Caption(), "Preuzimanje zavrseno");
    EXPECT_TRUE(f.Timer1->Enabled());
    ExpectControlsEnabled(true);
    EXPECT_FALSE(f.ProgressBar1->Visible());
    EXPECT_TRUE(Boxes.Shown.empty()) << LastText();

    // Saved from the image folder: the image and one byte more.
    ASSERT_EQ(Boxes.Asked.size(), 1u);
    EXPECT_EQ(Boxes.Asked[0], f.SaveDialog1);
    EXPECT_EQ(Boxes.AskedFolders[0], File("bin_fajlovi"));
    std::vector<uint8_t> saved = memory;
    saved.push_back(0);
    EXPECT_EQ(FileBytes(File("mem.bin")), saved);
    EXPECT_EQ(f.Label12->Caption(), "Fajl snimljen: mem.bin");
    EXPECT_EQ(f.Label12->Hint(), File("mem.bin"));

    // The report: every record, from the first to the last, shown in the view.
    const std::string report = FileText(File("last_bin.rtf"));
    EXPECT_EQ(Occurrences(report, "\\cf4\r\n"), 500u);
    EXPECT_NE(report.find("\\par     POCETAK: \r\n" + StampOf(memory, 0) + "    \r\n"),
              std::string::npos);
    EXPECT_NE(report.find("\\par     KRAJ:      \r\n   " + StampOf(memory, 499) + "    \r\n"),
              std::string::npos);
    EXPECT_NE(f.RichEdit1->Text().find("Darazev izvrsena: "), std::string::npos);
    EXPECT_FALSE(f.ProgressCyl1->Visible());
    EXPECT_EQ(f.ProgressCyl1->Position(), 499);

    // Loaded back: the whole file is the work image, its report lists the
    // same records; the download image stays.
    f.WorkBuffer.fill(0xEE);
    const TImageBuffer downloaded = f.DownloadBuffer;
    Boxes.Files = {File("mem.bin")};
    f.dxButton5->Click();
    ASSERT_EQ(Boxes.Asked.size(), 2u);
    EXPECT_EQ(Boxes.Asked[1], f.OpenDialog1);
    EXPECT_EQ(f.ByteCount, 6001);
    EXPECT_TRUE(SameBytes(saved, f.WorkBuffer, saved.size()));
    EXPECT_EQ(f.DownloadBuffer, downloaded);
    const std::string loaded = FileText(File("last_open.rtf"));
    EXPECT_NE(loaded.find("Export izvrsen: "), std::string::npos);
    EXPECT_EQ(RecordLines(loaded), RecordLines(report));
    EXPECT_NE(f.RichEdit1->Text().find("Export izvrsen: "), std::string::npos);
    EXPECT_FALSE(f.ProgressCyl1->Visible());
}

TEST_F(MemoryTab, ProgressShowsTheQueueAndF3WaitsForTheRunningDownload)
{
    orvasim::TSimOptions options = SimOptions();
    options.Device.Records = 100;
    options.Realtime = true; // 1,200 bytes at the line rate: about 0.6 s
    orvasim::TSimulator sim(options);
    TForm1 &f = Linked(sim);
    f.dxButton3->Click();
    ASSERT_TRUE(f.DownloadActive);
    const size_t sent = ReceivedWhen(sim, 7).size();

    std::vector<int> positions;
    bool pressed = false;
    ASSERT_TRUE(ServeUntil(
        [&] {
            if (!f.DownloadActive)
                return true;
            const int count = f.ProgressBar1->Position();
            if (count == 0)
                return false;
            if (positions.empty() || positions.back() != count) {
                positions.push_back(count);
                const int n = count + 1;
                EXPECT_EQ(f.Label13->Caption(), "Preuzeto: " + std::to_string(n) + " By | " +
                                                    std::to_string(n / 1024) + " kB");
                EXPECT_EQ(f.Caption(), "Preuzeto: " + std::to_string(n) + " Bytes | " +
                                           std::to_string(n / 1024) + " kB | " +
                                           // Count / ByteCount x 100, in that order:
                                           // 690 of 1200 gives 57.4999..., so 57.
                                           std::to_string(Round(double(count) / 1200 * 100)) + "%");
            }
            if (!pressed) {
                // Mid-stream: a new request would empty the queue.
                pressed = true;
                EXPECT_TRUE(f.HandleKeyDown(VK_F3, 0));
            }
            return false;
        },
        std::chrono::seconds(10)));
    EXPECT_EQ(sim.Received().size(), sent) << "F3 sent nothing during the download";
    ASSERT_GE(positions.size(), 3u);
    EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));
    EXPECT_LT(positions.back(), 1200);

    EXPECT_TRUE(SameBytes(sim.Memory(), f.DownloadBuffer, 1200));
    // The save was offered and cancelled; the report came all the same.
    EXPECT_EQ(Boxes.Asked.size(), 1u);
    EXPECT_EQ(Occurrences(FileText(File("last_bin.rtf")), "\\cf4\r\n"), 100u);
}

TEST_F(MemoryTab, TooLittleDataAbsentDeviceOrSamplingRefuseOrAsk)
{
    orvasim::TSimOptions options = SimOptions();
    options.Device.Sampling = true;
    orvasim::TSimulator sim(options);
    TForm1 &f = Linked(sim);
    const std::vector<uint8_t> memory = sim.Memory();
    const size_t before = sim.Received().size();

    // Sampling, and the user says No: nothing more is sent, live reading stays off.
    Boxes.Answers = {IDNO};
    f.dxButton3Click(f.dxButton3);
    EXPECT_EQ(LastText(), "Uzorkovanje u toku. Da nastavim?");
    EXPECT_EQ(Commands(sim.Received()).substr(before), "EU");
    EXPECT_FALSE(f.Timer1->Enabled());

    // Yes: the download goes on and completes.
    Boxes.Answers = {IDYES};
    f.dxButton3Click(f.dxButton3);
    ASSERT_TRUE(Downloaded());
    EXPECT_EQ(Commands(sim.Received()).substr(before), "EUEUAaSR");
    EXPECT_TRUE(SameBytes(memory, f.DownloadBuffer, memory.size()));

    // Two bytes in the logger: refused, and the image held keeps its size.
    sim.WithDevice([](orvasim::TDevice &d, int64_t) {
        d.LoadMemory({1, 2});
        return 0;
    });
    Boxes.Shown.clear();
    Boxes.Answers = {IDYES};
    const size_t sent = sim.Received().size();
    f.dxButton3Click(f.dxButton3);
    EXPECT_EQ(LastText(), "Suvise je malo podataka za iscitavanje");
    EXPECT_EQ(Commands(sim.Received()).substr(sent), "EUAa");
    EXPECT_TRUE(f.Timer1->Enabled());
    EXPECT_EQ(f.ByteCount, int(memory.size()));

    // The logger off: the error, live reading stays off.
    sim.SetFaults(Silent());
    f.dxButton3Click(f.dxButton3);
    EXPECT_EQ(LastText(),
              "Uredjaj nije prisutan! Molimo proverite kablove i napajanje, pa pokusajte ponovo");
    EXPECT_FALSE(f.Timer1->Enabled());
    EXPECT_FALSE(f.DownloadActive);
}

// ---------------------------------------------------------------- a stream cut short

TEST_F(MemoryTab, StreamCutShortEndsWithTheWholeRecordsReceived)
{
    orvasim::TSimulator sim(SimOptions());
    TForm1 &f = Linked(sim);
    const std::vector<uint8_t> memory = sim.Memory();
    orvasim::TFaults cut;
    cut.StreamLimit = 1000; // 83 records and 4 bytes
    sim.SetFaults(cut);
    f.DownloadStallMs = 200;
    Boxes.Files = {File("short.bin")};
    f.dxButton3Click(f.dxButton3);
    ASSERT_TRUE(Downloaded(std::chrono::seconds(5))) << "no stream may hold the window forever";
    ASSERT_EQ(Boxes.Shown.size(), 1u);
    EXPECT_EQ(LastText(), "Preuzimanje prekinuto: primljeno je 1000 od 6000 bajtova. Zadrzani "
                          "su primljeni celi zapisi: 83.");
    EXPECT_EQ(f.ByteCount, 996);
    EXPECT_TRUE(SameBytes(memory, f.DownloadBuffer, 1000));
    EXPECT_EQ(f.Label10->Caption(), "Preuzimanje prekinuto");
    EXPECT_TRUE(f.Timer1->Enabled());
    ExpectControlsEnabled(true);
    // The saved file and the report end on the last whole record.
    std::vector<uint8_t> saved(memory.begin(), memory.begin() + 997);
    EXPECT_EQ(FileBytes(File("short.bin")), saved);
    const std::string report = FileText(File("last_bin.rtf"));
    EXPECT_EQ(Occurrences(report, "\\cf4\r\n"), 83u);
    EXPECT_NE(report.find("   " + StampOf(memory, 82) + "    \r\n"), std::string::npos);

    // Nothing at all: the images held stay, nothing is offered.
    cut.StreamLimit = 0;
    sim.SetFaults(cut);
    Boxes.Shown.clear();
    f.dxButton3Click(f.dxButton3);
    ASSERT_TRUE(Downloaded(std::chrono::seconds(5)));
    EXPECT_EQ(LastText(), "Preuzimanje prekinuto: primljeno je 0 od 6000 bajtova. Nijedan ceo "
                          "zapis nije primljen; prethodni podaci su zadrzani.");
    EXPECT_EQ(f.ByteCount, 996);
    EXPECT_EQ(Boxes.Asked.size(), 1u);

    // "Osvezi komunikaciju" during a download ends it with what came, then
    // checks the link.
    ASSERT_NO_FATAL_FAILURE(StartCutDownload(sim, 600));
    const size_t sent = sim.Received().size();
    f.dxButton1Click(f.dxButton1);
    EXPECT_FALSE(f.DownloadActive);
    EXPECT_EQ(f.ByteCount, 600);
    EXPECT_EQ(Commands(sim.Received()).substr(sent), "E");
    EXPECT_TRUE(f.DeviceConnected);

    // So do a port scan and a port switch.
    ASSERT_NO_FATAL_FAILURE(StartCutDownload(sim, 240));
    f.dxButton14Click(f.dxButton14);
    EXPECT_EQ(f.ByteCount, 240);
    EXPECT_EQ(LastText(), "ORVA uredjaj je pronadjen na portu " + sim.SlavePath());
    ASSERT_NO_FATAL_FAILURE(StartCutDownload(sim, 120));
    f.ComboBox1Change(f.ComboBox1);
    EXPECT_FALSE(f.DownloadActive);
    EXPECT_EQ(f.ByteCount, 120);

    // The port still reports: the next download, uncut, completes.
    sim.SetFaults({});
    f.dxButton3Click(f.dxButton3);
    ASSERT_TRUE(Downloaded());
    EXPECT_EQ(f.ByteCount, 6000);
    EXPECT_TRUE(SameBytes(memory, f.DownloadBuffer, 6000));
}

TEST_F(MemoryTab, FailedSaveAtTheEndIsToldAndTheNextDownloadStillCompletes)
{
    orvasim::TSimOptions options = SimOptions();
    options.Device.Records = 20;
    orvasim::TSimulator sim(options);
    TForm1 &f = Linked(sim);
    Boxes.Files = {File("no-such-folder/x.bin")};
    f.dxButton3Click(f.dxButton3);
    ASSERT_TRUE(Downloaded());
    ASSERT_EQ(Boxes.Shown.size(), 1u);
    EXPECT_EQ(LastText().rfind("Fajl ne moze da se kreira: " + File("no-such-folder/x.bin"), 0), 0u)
        << LastText();
    EXPECT_EQ(f.Label12->Caption(), "Naziv snimljenog fajla");
    EXPECT_EQ(Occurrences(FileText(File("last_bin.rtf")), "\\cf4\r\n"), 20u);

    sim.WithDevice([](orvasim::TDevice &d, int64_t) {
        std::vector<uint8_t> bytes = d.Memory();
        bytes.resize(bytes.size() - 5 * RecordSize);
        d.LoadMemory(bytes);
        return 0;
    });
    f.dxButton3Click(f.dxButton3);
    ASSERT_TRUE(Downloaded());
    EXPECT_EQ(f.ByteCount, 15 * RecordSize);
    EXPECT_EQ(Boxes.Shown.size(), 1u);
}

// ---------------------------------------------------------------- images and recordings

TEST_F(MemoryTab, TooLargeImageIsRefusedWithAMessage)
{
    TForm1 &f = MakeForm();
    f.ByteCount = 24;
    f.WorkBuffer[0] = 7;
    std::ofstream(File("big.bin"), std::ios::binary) << std::string(ImageBufferSize + 1, '\x01');
    Boxes.Files = {File("big.bin")};
    f.dxButton5Click(f.dxButton5);
    ASSERT_EQ(Boxes.Shown.size(), 1u);
    EXPECT_EQ(LastText(), "Fajl je veci od memorije uredjaja: " + File("big.bin"));
    EXPECT_EQ(f.ByteCount, 24);
    EXPECT_EQ(f.WorkBuffer[0], 7);
    EXPECT_FALSE(f.ProgressCyl1->Visible());
}

TEST_F(MemoryTab, ExportFromAPickedRecordAndTheViewerOnTheHandOverFile)
{
    orvasim::TSimulator sim(SimOptions());
    TForm1 &f = Linked(sim);
    f.dxButton3Click(f.dxButton3);
    ASSERT_TRUE(Downloaded());
    const std::vector<uint8_t> memory = sim.Memory();

    // From record 10 on, as a click in the report view picks it.
    f.Edit3->SetText(StampOf(memory, 10));
    Boxes.Files = {File("out.dts")};
    f.dxButton7->Click();
    EXPECT_EQ(Boxes.Asked.back(), f.SaveDialog2);
    const std::vector<uint8_t> dts = FileBytes(File("out.dts"));
    ASSERT_EQ(dts.size(), 490u * DtsRecordSize);
    double temperature = 0;
    std::memcpy(&temperature, dts.data() + 8, sizeof temperature);
    const MemoryRecord tenth = ReadMemoryRecord(memory.data() + 10 * RecordSize);
    EXPECT_DOUBLE_EQ(temperature, RawToTemperature(tenth.TemperatureHigh, tenth.TemperatureLow));
    EXPECT_EQ(f.Label26->Caption(), StampOf(memory, 499));

    // "Prikazi Grafik": every record into temp.dts, then the viewer with " /av".
    f.Edit3->SetText("");
    f.dxButton12->Click();
    EXPECT_EQ(FileBytes(File("temp.dts")).size(), 500u * DtsRecordSize);
    EXPECT_EQ(Boxes.Started, std::vector<std::string>{File("Plotview")});
    EXPECT_EQ(Boxes.StartParameters, std::vector<std::string>{" /av"});

    // A start field naming no record (typed, or a header's text) is told
    // and writes nothing: the earlier recording and temp.dts stay, and the
    // viewer is not started on an empty one.
    f.Edit3->SetText("Podaci o zapisu:");
    Boxes.Files = {File("out.dts")};
    f.dxButton7->Click();
    EXPECT_EQ(LastText(), NoStartRecordText);
    EXPECT_EQ(FileBytes(File("out.dts")).size(), 490u * DtsRecordSize);
    Boxes.Shown.clear();
    f.dxButton12->Click();
    EXPECT_EQ(LastText(), NoStartRecordText);
    EXPECT_EQ(FileBytes(File("temp.dts")).size(), 500u * DtsRecordSize);
    EXPECT_EQ(Boxes.Started.size(), 1u);
    Boxes.Shown.clear();
    f.Edit3->SetText("");

    // An empty image still starts the viewer, on an empty file.
    f.ByteCount = 0;
    f.dxButton12Click(f.dxButton12);
    EXPECT_EQ(FileBytes(File("temp.dts")).size(), 0u);
    EXPECT_EQ(Boxes.Started.size(), 2u);
    EXPECT_TRUE(Boxes.Shown.empty()) << LastText();
}

TEST_F(MemoryTab, FilesNamedBeyondTheSystemsLettersKeepTheirNamesOnDiskAndOnScreen)
{
    orvasim::TSimulator sim(SimOptions());
    TForm1 &f = Linked(sim);
    const std::string name = "\xC4\x8C"
                             "a\xC4\x8D"
                             "ak_m\xC3\xA9renje"; // as Linux spells it
    const QString shown = QString::fromUtf8("Čačak_mérenje");

    Boxes.Files = {File(name + ".bin")};
    f.dxButton3Click(f.dxButton3);
    ASSERT_TRUE(Downloaded());
    EXPECT_EQ(FileBytes(File(name + ".bin")).size(), 6001u);
    const QString caption = "Fajl snimljen: " + shown + ".bin";
    EXPECT_EQ(FromAnsi(f.Label12->Caption()), caption);
    EXPECT_EQ(f.Label12->toolTip(), FromFileName(File(name + ".bin")));
    // Drawn as spelled: the label takes the width of these letters.
    EXPECT_EQ(f.Label12->Width(),
              QFontMetrics(f.Label12->Font()->ToQFont()).horizontalAdvance(caption));

    Boxes.Files = {File(name + ".bin")};
    f.WorkBuffer.fill(0xEE);
    f.dxButton5->Click();
    EXPECT_EQ(f.ByteCount, 6001);
    EXPECT_EQ(f.WorkBuffer, f.DownloadBuffer);
    Boxes.Files = {File(name + ".dts")};
    f.dxButton7->Click();
    EXPECT_EQ(FileBytes(File(name + ".dts")).size(), 500u * DtsRecordSize);
    EXPECT_TRUE(Boxes.Shown.empty()) << LastText();
}

} // namespace
