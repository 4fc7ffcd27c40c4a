// The console when the logger's line goes away under it (the simulator
// ends, as when a USB adapter is pulled) and when it comes back.

#include "../console-form/ConsoleFormFixture.h"
#include "RealInput.h"
#include "FileText.h"

#include "DeviceExchange.h"

#include <QApplication>
#include <QMouseEvent>

#include <filesystem>
#include <fstream>
#include <iterator>

using namespace logbridge;
using namespace consoletest;

namespace {

class LostLine : public ConsoleForm {
protected:
    // The port the console knows: a link that follows the simulator, as a
    // device name follows an adapter plugged back in.
    std::string Link() const { return Folder() + "/ttyORVA"; }
    void PointLinkAt(const orvasim::TSimulator &Sim)
    {
        std::filesystem::remove(Link());
        std::filesystem::create_symlink(Sim.SlavePath(), Link());
    }
    TForm1 &LinkedThroughLink(orvasim::TSimulator &Sim)
    {
        PointLinkAt(Sim);
        WriteSettings(Link());
        PublishSerialPorts({Link()});
        MakeForm();
        Activate();
        return *Form;
    }
    void ExpectLinkDown()
    {
        TForm1 &f = *Form;
        EXPECT_EQ(f.Label1->Caption(), "Konekcija neuspesna");
        EXPECT_EQ(f.IAgaloLED1->LedPlasticColor(), clRed);
        EXPECT_FALSE(f.DeviceConnected);
        EXPECT_FALSE(f.Timer1->Enabled());
        EXPECT_TRUE(f.Timer2->Enabled());
        EXPECT_EQ(f.LCDLabel1->Caption(), "----------");
        EXPECT_TRUE(
            Shaped(f.Label33->Caption(), "Last Event: Communication lost @##.##.#### [##:##:##]"))
            << f.Label33->Caption();
        ExpectControlsEnabled(false);
    }
};

TEST_F(LostLine, LiveReadingSeesTheLineGoAndARefreshLinksAgainOnceItIsBack)
{
    auto sim = std::make_unique<orvasim::TSimulator>(SimOptions());
    TForm1 &f = LinkedThroughLink(*sim);
    ASSERT_TRUE(f.Timer1->Enabled());
    ASSERT_TRUE(ServeUntil([&] { return f.DeviceConnected; }, std::chrono::seconds(3)));

    // The line goes: the next reading, a second later at most, says so.
    sim.reset();
    const auto gone = std::chrono::steady_clock::now();
    ASSERT_TRUE(ServeUntil([&] { return !f.DeviceConnected; }, std::chrono::seconds(3)));
    EXPECT_LT(std::chrono::steady_clock::now() - gone, std::chrono::seconds(2));
    ExpectLinkDown();

    // Refreshing with the line still gone finds nothing, and breaks nothing.
    Click(f.dxButton1);
    ExpectLinkDown();

    // The logger is back on the same name: a refresh links again.
    sim = std::make_unique<orvasim::TSimulator>(SimOptions());
    PointLinkAt(*sim);
    Click(f.dxButton1);
    EXPECT_EQ(f.Label1->Caption(), "  Konekcija uspesna");
    EXPECT_EQ(f.IAgaloLED1->LedPlasticColor(), clLime);
    EXPECT_TRUE(f.Timer1->Enabled());
    EXPECT_FALSE(f.Timer2->Enabled());
    ExpectControlsEnabled(true);
    ASSERT_TRUE(
        ServeUntil([&] { return f.LCDLabel1->Caption() != "----------"; }, std::chrono::seconds(3)))
        << "live values come back";
    EXPECT_TRUE(f.DeviceConnected);
}

TEST_F(LostLine, ADownloadCutByTheLineEndsWithWhatCameAndAnEarlierImageStays)
{
    // A first download, complete and saved.
    auto first = std::make_unique<orvasim::TSimulator>(SimOptions());
    TForm1 &f = LinkedThroughLink(*first);
    Boxes.Files = {Folder() + "/first.bin"};
    f.dxButton3Click(f.dxButton3);
    ASSERT_TRUE(ServeUntil([&] { return !f.DownloadActive; }, std::chrono::seconds(10)));
    const std::string saved = FileText(Folder() + "/first.bin");
    ASSERT_EQ(saved.size(), 6001u);
    first.reset();

    // A full memory at the line's own rate, and the line goes a second in.
    orvasim::TSimOptions slow = SimOptions();
    slow.Device.Records = 5461;
    slow.Realtime = true;
    auto sim = std::make_unique<orvasim::TSimulator>(slow);
    PointLinkAt(*sim);
    Click(f.dxButton1);
    ASSERT_EQ(f.Label1->Caption(), "  Konekcija uspesna");
    Boxes.Shown.clear();
    f.dxButton3Click(f.dxButton3);
    ASSERT_TRUE(f.DownloadActive);
    ASSERT_TRUE(sim->WaitStreamed(1000, std::chrono::seconds(5)));
    ASSERT_TRUE(
        ServeUntil([&] { return f.Label13->Caption() != "Preuzeto:"; }, std::chrono::seconds(2)));
    sim.reset();
    const auto gone = std::chrono::steady_clock::now();
    ASSERT_TRUE(ServeUntil([&] { return !f.DownloadActive && !f.DeviceConnected; },
                           std::chrono::seconds(3)));
    EXPECT_LT(std::chrono::steady_clock::now() - gone, std::chrono::seconds(2));
    ExpectLinkDown();

    // Told, with the whole records that came kept; the earlier file untouched.
    ASSERT_FALSE(Boxes.Shown.empty());
    EXPECT_NE(Boxes.Shown.front().Text.find("Preuzimanje prekinuto"), std::string::npos)
        << Boxes.Shown.front().Text;
    EXPECT_GT(f.ByteCount, 0);
    EXPECT_EQ(f.ByteCount % RecordSize, 0);
    EXPECT_LT(f.ByteCount, 5461 * RecordSize);
    EXPECT_EQ(FileText(Folder() + "/first.bin"), saved);
}

// The stall watch on a fake tick count: a stream that stops ends the
// download when the stall time has passed since the last byte, not before.
TEST_F(LostLine, AStalledStreamEndsAtTheStallTime)
{
    uint32_t now = 4000000000u; // wraps within the stall
    const TTickSource previous = SetTickSource([&] { return now; });
    orvasim::TSimulator sim(SimOptions());
    TForm1 &f = LinkedThroughLink(sim);
    f.Timer1->SetEnabled(false);
    orvasim::TFaults cut;
    cut.StreamLimit = 1200;
    sim.SetFaults(cut);
    f.DownloadStallMs = 3000;
    f.dxButton3Click(f.dxButton3);
    ASSERT_TRUE(f.DownloadActive);
    // The last bytes come in; the watch sees them at the fake time.
    ASSERT_TRUE(ServeUntil([&] { return f.Label13->Caption() == "Preuzeto: 1201 By | 1 kB"; },
                           std::chrono::seconds(3)));
    Serve(200);
    ASSERT_TRUE(f.DownloadActive);
    now += 3000 - 100;
    Serve(200);
    EXPECT_TRUE(f.DownloadActive) << "ended before the stall time";
    now += 200;
    ASSERT_TRUE(ServeUntil([&] { return !f.DownloadActive; }, std::chrono::milliseconds(500)))
        << "not ended after the stall time";
    EXPECT_EQ(f.ByteCount, 1200);
    SetTickSource(previous);
}

} // namespace
