// The console's files when they are odd: a FIFO or a folder where a file is
// expected, a disk that fills while the settings are written, a registry
// value of another type. Nothing may hang, nothing may be cut short.

#include "../console-form/ConsoleFormFixture.h"
#include "FileText.h"
#include "ReadOnlyFile.h"
#include "RealInput.h"

#include "Watchdog.h"

#include <QDir>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace logbridge;
using namespace consoletest;
using namespace std::chrono_literals;

namespace {

bool IsFifo(const std::string &Path)
{
    struct stat st = {};
    return ::stat(Path.c_str(), &st) == 0 && S_ISFIFO(st.st_mode);
}

// A file size limit stands in for a full disk (for root too) while it lives.
class TFullDisk {
public:
    explicit TFullDisk(rlim_t Bytes)
    {
        getrlimit(RLIMIT_FSIZE, &FSaved);
        rlimit small = FSaved;
        small.rlim_cur = Bytes;
        FHandler = signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &small);
    }
    ~TFullDisk()
    {
        setrlimit(RLIMIT_FSIZE, &FSaved);
        signal(SIGXFSZ, FHandler);
    }

private:
    rlimit FSaved{};
    void (*FHandler)(int) = nullptr;
};

using FileFaults = ConsoleForm;

TEST_F(FileFaults, AFifoInPlaceOfTheSettingsNeitherHoldsUpTheStartNorIsWritten)
{
    ASSERT_EQ(::mkfifo(Ini().c_str(), 0600), 0);
    orvasim::TSimulator sim(SimOptions());
    PublishSerialPorts({sim.SlavePath()});
    MakeForm();
    testing::internal::CaptureStderr();
    {
        TWatchdog watchdog("the start-up with a FIFO for comport.ini", 10s);
        Activate();
    }
    const std::string warned = testing::internal::GetCapturedStderr();
    EXPECT_NE(warned.find("comport.ini cannot be read"), std::string::npos) << warned;
    // The settings read as missing: the resource's port, which is not there.
    EXPECT_EQ(Form->ComPort1->Port(), "COM2");
    EXPECT_FALSE(Form->ComPort1->Connected());
    EXPECT_TRUE(IsFifo(Ini()));

    // A port switch that would save to it neither waits nor replaces it.
    Form->PortScanDone = true;
    Form->ComboBox1->SetText(sim.SlavePath());
    {
        TWatchdog watchdog("saving the settings to a FIFO", 10s);
        try {
            Form->ComboBox1Change(Form->ComboBox1);
            ADD_FAILURE() << "the settings were saved";
        } catch (const EComPort &E) {
            EXPECT_EQ(E.Code, 16);
        }
    }
    EXPECT_TRUE(IsFifo(Ini()));
    EXPECT_TRUE(Form->ComPort1->Connected()) << "the port itself is taken";

    // A scan that links the device says so, and that the settings were not saved.
    Form->dxButton14Click(Form->dxButton14);
    EXPECT_EQ(LastText(), "ORVA uredjaj je pronadjen na portu " + sim.SlavePath() +
                              " i povezan, ali podesavanja nisu sacuvana u " + Ini() +
                              ": Failed to store settings");
}

TEST_F(FileFaults, SettingsThatCannotBeWrittenWholeStayAsTheyWere)
{
    orvasim::TSimulator sim(SimOptions());
    TForm1 &f = Linked(sim);
    ASSERT_TRUE(f.DeviceConnected || f.Label1->Caption() == "  Konekcija uspesna");
    ASSERT_EQ(::chmod(Ini().c_str(), 0640), 0);
    const std::string before = FileText(Ini());
    ASSERT_NE(before.find(sim.SlavePath()), std::string::npos);
    {
        TFullDisk full(20);
        try {
            f.ComPort1->SaveSettings(ssIniFile, Ini());
            ADD_FAILURE() << "saved on a full disk";
        } catch (const EComPort &E) {
            EXPECT_EQ(E.Code, 16);
        }
    }
    EXPECT_EQ(FileText(Ini()), before) << "byte for byte";
    EXPECT_EQ(QDir(QString::fromStdString(Folder())).entryList(QDir::Files),
              QStringList{"comport.ini"});
    // Saved again with room, it keeps its mode.
    f.ComPort1->SaveSettings(ssIniFile, Ini());
    struct stat st = {};
    ASSERT_EQ(::stat(Ini().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(FileFaults, AnImageThatIsNoFileOrCannotBeReportedIsToldAndChangesNothing)
{
    MakeForm();
    TForm1 &f = *Form;
    f.PageControl1->SetActivePage(f.TabSheet2);
    f.ByteCount = 24;
    f.WorkBuffer.fill(0x5A);
    const TImageBuffer held = f.WorkBuffer;
    const std::string fifo = Folder() + "/memorija.bin";
    const std::string folder = Folder() + "/folder.bin";
    const std::string good = Folder() + "/dobar.bin";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_TRUE(QDir().mkdir(QString::fromStdString(folder)));
    std::ofstream(good, std::ios::binary) << std::string(37, '\x11');
    // A console folder that takes no new file: the report cannot be made.
    const TSealedFolder sealed(Folder());
    if (!sealed.Ok())
        GTEST_SKIP() << "no folder here refuses new files (root without immutable folders)";
    const std::string report = Folder() + "/last_open.rtf";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {fifo, "Fajl ne moze da se otvori: " + fifo},
        {folder, "Fajl ne moze da se otvori: " + folder},
        {good, "Fajl ne moze da se kreira: " + report},
    };
    for (const auto &[path, told] : cases) {
        SCOPED_TRACE(path);
        Boxes.Shown.clear();
        Boxes.Files = {path};
        {
            TWatchdog watchdog("loading " + path, 10s);
            Click(f.dxButton5);
        }
        ASSERT_EQ(Boxes.Shown.size(), 1u);
        EXPECT_EQ(Boxes.Shown[0].Text.rfind(told, 0), 0u) << Boxes.Shown[0].Text;
        EXPECT_EQ(Boxes.Shown[0].Caption, "Error") << "told as a failed save is told";
        EXPECT_EQ(f.ByteCount, 24);
        EXPECT_EQ(f.WorkBuffer, held);
        EXPECT_FALSE(f.ProgressCyl1->Visible());
        EXPECT_FALSE(std::filesystem::exists(report));
    }
    EXPECT_TRUE(IsFifo(fifo));
}

TEST_F(FileFaults, ASerialPortMapValueOfAnotherTypeIsPassedOver)
{
    orvasim::TSimulator sim(SimOptions());
    WriteSettings(sim.SlavePath());
    PublishSerialPorts({"/dev/ttyS0", sim.SlavePath()});
    {
        TRegistry map;
        map.RootKey = HKEY_LOCAL_MACHINE;
        ASSERT_TRUE(map.OpenKey("HARDWARE\\DEVICEMAP\\SERIALCOMM", true));
        map.WriteInteger("\\Device\\Odd", 7);
    }
    MakeForm();
    testing::internal::CaptureStderr();
    Activate();
    const std::string warned = testing::internal::GetCapturedStderr();
    EXPECT_EQ(PortList(), (std::vector<std::string>{"/dev/ttyS0", sim.SlavePath()}));
    EXPECT_EQ(Form->Label1->Caption(), "  Konekcija uspesna") << "the start-up went on";
    EXPECT_NE(warned.find("\\Device\\Odd"), std::string::npos) << warned;
    EXPECT_EQ(std::count(warned.begin(), warned.end(), '\n'), 1) << warned;
}

} // namespace
