#include "PortHelpers.h"

#include "IniFile.h"
#include "Registry.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <fstream>
#include <sstream>

namespace {

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("ORVA_REGISTRY_DIR", Dir.filePath("reg").toUtf8().constData(), 1);
    }
    void TearDown() override { unsetenv("ORVA_REGISTRY_DIR"); }
    std::string Ini() const { return Dir.filePath("comport.ini").toStdString(); }
    void WriteIni(const std::string &Text) const { std::ofstream(Ini()) << Text; }
    std::string ReadIni() const
    {
        std::ifstream in(Ini());
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    int Code(const std::function<void()> &F)
    {
        try {
            F();
        } catch (const EComPort &e) {
            return e.Code;
        }
        return 0;
    }
    QTemporaryDir Dir;
};

} // namespace

TEST(SettingTexts, ParsersIgnoreCaseAndFallBack)
{
    EXPECT_EQ(ParseBaudRate("19200"), br19200);
    EXPECT_EQ(ParseBaudRate("custom"), brCustom);
    EXPECT_EQ(ParseBaudRate("12345"), br9600);
    EXPECT_EQ(ParseBaudRate(" 19200"), br9600) << "nothing is trimmed";
    EXPECT_EQ(ParseStopBits("1.5"), sbOne5StopBits);
    EXPECT_EQ(ParseStopBits("3"), sbOneStopBit);
    EXPECT_EQ(ParseDataBits("7"), dbSeven);
    EXPECT_EQ(ParseDataBits("9"), dbEight);
    EXPECT_EQ(ParseParity("none"), prNone);
    EXPECT_EQ(ParseParity("SPACE"), prSpace);
    EXPECT_EQ(ParseFlowControl("hardware"), fcHardware);
    EXPECT_EQ(ParseFlowControl("xyz"), fcCustom);
    EXPECT_EQ(ParseRtsMode("toggle"), rtsToggle);
    EXPECT_EQ(ParseDtrMode("handshake"), dtrHandshake);
    EXPECT_EQ(ParseRtsMode("?"), rtsDisable);
    for (const char *yes : {"yes", "Yes", "YES"})
        EXPECT_TRUE(ParseYesNo(yes));
    for (const char *no : {"true", "1", "", "no"})
        EXPECT_FALSE(ParseYesNo(no));
    EXPECT_EQ(BaudRateText(brCustom), "Custom");
    EXPECT_EQ(StopBitsText(sbOne5StopBits), "1.5");
    EXPECT_EQ(FlowControlText(fcNone), "None");
}

TEST(SettingTexts, CharacterTexts)
{
    EXPECT_EQ(CharSettingText(17), "#17");
    EXPECT_EQ(CharSettingText(' '), "#32");
    EXPECT_EQ(CharSettingText('!'), "!");
    EXPECT_EQ(CharSettingText(char(127)), std::string(1, char(127)));
    EXPECT_EQ(CharSettingText(char(128)), "#128");
    EXPECT_EQ(CharSettingText(0), "#0");
    EXPECT_EQ(ParseCharSetting("#13"), '\r');
    EXPECT_EQ(ParseCharSetting("A"), 'A');
    EXPECT_EQ(ParseCharSetting("ABC"), 'A');
    EXPECT_EQ(ParseCharSetting("#"), '#');
    EXPECT_EQ(ParseCharSetting("#x"), 0);
    EXPECT_EQ(ParseCharSetting("#300"), char(44));
    EXPECT_EQ(ParseCharSetting(""), 0);
}

TEST_F(SettingsTest, TheConsolesIniHoldsTheBasicGroupOnly)
{
    TComPort port(nullptr);
    port.SetName("ComPort1");
    port.SetPort("COM2");
    port.SetBaudRate(br19200);
    port.Buffer()->SetInputSize(65536);
    port.SaveSettings(ssIniFile, Ini());
    EXPECT_EQ(ReadIni(), "[ComPort1]\nPort=COM2\nBaudRate=19200\nStopBits=1\nDataBits=8\nParity="
                         "None\nFlowControl=None\n");

    port.SetBaudRate(brCustom);
    port.SetCustomBaudRate(31250);
    port.SaveSettings(ssIniFile, Ini());
    TIniFile ini(Ini());
    EXPECT_EQ(ini.ReadString("ComPort1", "BaudRate", ""), "Custom");
    EXPECT_EQ(ini.ReadInteger("ComPort1", "CustomBaudRate", 0), 31250);
}

TEST_F(SettingsTest, RestoringReadsTextsThroughTheSetters)
{
    WriteIni("[ComPort1]\nPort=COM5\nBaudRate=57600\nStopBits=2\nDataBits=7\nParity="
             "even\nFlowControl=hardware\n"
             "EventChar=#13\nBuffer.InputSize=99\n");
    TComPort port(nullptr);
    port.SetName("ComPort1");
    port.RestoreSettings(ssIniFile, Ini());
    EXPECT_EQ(port.Port(), "COM5");
    EXPECT_EQ(port.BaudRate(), br57600);
    EXPECT_EQ(port.StopBits(), sbTwoStopBits);
    EXPECT_EQ(port.DataBits(), dbSeven);
    EXPECT_EQ(port.Parity()->Bits(), prEven);
    EXPECT_EQ(port.FlowControl()->ControlRTS(), rtsHandshake);
    EXPECT_TRUE(port.FlowControl()->OutCTSFlow());
    EXPECT_EQ(port.EventChar(), 0) << "groups other than the basic one are not read";
    EXPECT_EQ(port.Buffer()->InputSize(), 1024);

    WriteIni("[ComPort1]\nBaudRate=12345\nFlowControl=Custom\n");
    port.FlowControl()->SetControlRTS(rtsToggle);
    port.RestoreSettings(ssIniFile, Ini());
    EXPECT_EQ(port.BaudRate(), br9600);
    EXPECT_EQ(port.Port(), "COM5") << "a missing key keeps the value";
    EXPECT_EQ(port.FlowControl()->ControlRTS(), rtsToggle);
}

TEST_F(SettingsTest, AMissingFileOrSectionChangesNothingButTheCustomRate)
{
    TComPort port(nullptr);
    port.SetName("ComPort1");
    port.SetPort("COM3");
    port.SetBaudRate(br115200);
    port.RestoreSettings(ssIniFile, Ini());
    EXPECT_EQ(port.Port(), "COM3");
    EXPECT_EQ(port.BaudRate(), br115200);

    port.SetBaudRate(brCustom);
    port.SetCustomBaudRate(31250);
    WriteIni("[Other]\nPort=X\n");
    port.RestoreSettings(ssIniFile, Ini());
    EXPECT_EQ(port.BaudRate(), brCustom);
    EXPECT_EQ(port.CustomBaudRate(), 9600);
}

TEST_F(SettingsTest, EveryGroupRoundTripsThroughTheRegistry)
{
    TComPort port(nullptr);
    port.SetName("ComPort1");
    port.SetPort("COM9");
    port.SetBaudRate(br38400);
    port.Parity()->SetBits(prMark);
    port.SaveSettings(ssRegistry, "HKEY_CURRENT_USER\\Software\\Test");
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Software\\Test\\ComPort1", false));
    EXPECT_EQ(reg.ReadString("Port"), "COM9");
    EXPECT_EQ(reg.GetValueNames(), (std::vector<std::string>{"Port", "BaudRate", "StopBits",
                                                             "DataBits", "Parity", "FlowControl"}));

    TComPort back(nullptr);
    back.SetName("ComPort1");
    back.RestoreSettings(ssRegistry, "hkey_current_user\\Software\\Test\\");
    EXPECT_EQ(back.Port(), "COM9");
    EXPECT_EQ(back.BaudRate(), br38400);
    EXPECT_EQ(back.Parity()->Bits(), prMark);
}

TEST_F(SettingsTest, RegistryPathsTakeTheFirstElementAsTheRoot)
{
    TComPort port(nullptr);
    port.SetName("ComPort1");
    port.SaveSettings(ssRegistry, "hkey_local_machine\\Test\\");
    TRegistry machine;
    machine.RootKey = HKEY_LOCAL_MACHINE;
    EXPECT_TRUE(machine.OpenKey("Test\\ComPort1", false));

    port.SaveSettings(ssRegistry, "Software\\Test");
    TRegistry user;
    EXPECT_TRUE(user.OpenKey("Test\\ComPort1", false));
    EXPECT_FALSE(user.OpenKey("Software\\Test\\ComPort1", false));

    EXPECT_EQ(Code([&] { port.SaveSettings(ssRegistry, "NoSlash"); }), 16);
    EXPECT_EQ(Code([&] { port.SaveSettings(ssRegistry, "HKEY_CURRENT_USER\\"); }), 16);
    EXPECT_EQ(Code([&] { port.RestoreSettings(ssRegistry, "HKEY_CURRENT_USER\\"); }), 17);
}

TEST_F(SettingsTest, AnyRegistryKeyNameKeepsItsSettings)
{
    for (const char *path : {"HKEY_CURRENT_USER\\Soft]ware\\[Test]", "HKEY_CURRENT_USER\\A/B",
                             "HKEY_CURRENT_USER\\A\\B"}) {
        TComPort port(nullptr);
        port.SetName("ComPort1");
        port.SetPort(std::string("COM-") + path);
        port.SetBaudRate(br38400);
        port.SaveSettings(ssRegistry, path);
        port.SaveSettings(ssRegistry, path);
        TComPort back(nullptr);
        back.SetName("ComPort1");
        back.RestoreSettings(ssRegistry, path);
        EXPECT_EQ(back.Port(), port.Port()) << path;
        EXPECT_EQ(back.BaudRate(), br38400) << path;
    }
    // A name the store cannot hold is refused, not saved as another.
    TComPort port(nullptr);
    port.SetName("ComPort1");
    EXPECT_EQ(Code([&] { port.SaveSettings(ssRegistry, "HKEY_CURRENT_USER\\Line\nBreak"); }), 16);
    TRegistry reg;
    EXPECT_FALSE(reg.KeyExists("Line"));
    EXPECT_FALSE(reg.KeyExists("Break\\ComPort1"));
}

TEST_F(SettingsTest, RegistryRestoresWithoutDefaults)
{
    TComPort port(nullptr);
    port.SetName("ComPort1");
    port.SetPort("COM4");
    // No key opens: texts read empty and take the fallbacks.
    EXPECT_EQ(Code([&] { port.RestoreSettings(ssRegistry, "NoSlash"); }), 0);
    EXPECT_EQ(port.Port(), "");
    EXPECT_EQ(port.BaudRate(), br9600);

    // A number that is missing fails the restore; what was read stays.
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("T\\ComPort1", true));
    reg.WriteString("Port", "COM8");
    reg.WriteString("BaudRate", "Custom");
    EXPECT_EQ(Code([&] { port.RestoreSettings(ssRegistry, "HKEY_CURRENT_USER\\T"); }), 17);
    EXPECT_EQ(port.Port(), "COM8");
    EXPECT_EQ(port.BaudRate(), brCustom);
}

TEST_F(SettingsTest, FailedSavesAndRestoresOfAnOpenPort)
{
    EXPECT_EQ(Code([&] {
                  TComPort port(nullptr);
                  port.SetName("ComPort1");
                  port.SaveSettings(ssIniFile,
                                    Dir.filePath("missing/dir/comport.ini").toStdString());
              }),
              16);

    TestPty pty;
    TComPort port(nullptr);
    ConsoleSettings(port, pty);
    port.SetBaudRate(br9600);
    port.OpenPort();
    // A restore that renames the port reopens it under the new name; one that
    // cannot be opened fails the restore with the port closed.
    WriteIni("[ComPort1]\nPort=/dev/orva-no-such-port\nBaudRate=19200\n");
    EXPECT_EQ(Code([&] { port.RestoreSettings(ssIniFile, Ini()); }), 17);
    EXPECT_FALSE(port.Connected());

    port.SetPort(pty.Path);
    port.OpenPort();
    TestPty other;
    WriteIni("[ComPort1]\nPort=" + other.Path + "\nBaudRate=57600\n");
    port.RestoreSettings(ssIniFile, Ini());
    EXPECT_TRUE(port.Connected());
    termios t{};
    tcgetattr(other.SlaveKeeper, &t);
    EXPECT_EQ(cfgetospeed(&t), speed_t(B57600))
        << "settings reach the device when the bracket closes";
}
