#include "Registry.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {
class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("ORVA_REGISTRY_DIR", Dir.filePath("reg").toUtf8().constData(), 1);
    }
    void TearDown() override { unsetenv("ORVA_REGISTRY_DIR"); }
    QTemporaryDir Dir;
};
} // namespace

TEST_F(RegistryTest, KeysAreCreatedOnlyWhenAsked)
{
    TRegistry reg;
    EXPECT_FALSE(reg.OpenKey("Software\\Test", false));
    EXPECT_TRUE(reg.OpenKey("Software\\Test", true));
    TRegistry again;
    EXPECT_TRUE(again.OpenKey("software\\test\\", false));
    EXPECT_EQ(NormaliseKeyPath("\\a\\\\b\\"), "a\\b");
}

TEST_F(RegistryTest, ValuesKeepTheirTypeAndRootsAreSeparate)
{
    TRegistry user;
    ASSERT_TRUE(user.OpenKey("K", true));
    user.WriteString("Port", "COM2 with spaces ");
    user.WriteInteger("Size", -5);
    EXPECT_EQ(user.ReadString("Port"), "COM2 with spaces ");
    EXPECT_EQ(user.ReadInteger("Size"), -5);
    EXPECT_EQ(user.GetDataType("Port"), rdString);
    EXPECT_EQ(user.GetDataType("Size"), rdInteger);
    EXPECT_THROW(user.ReadInteger("Port"), ERegistryException);
    EXPECT_THROW(user.ReadString("Size"), ERegistryException);
    EXPECT_THROW(user.ReadInteger("Missing"), ERegistryException);
    EXPECT_EQ(user.ReadString("Missing"), "");

    TRegistry machine;
    machine.RootKey = HKEY_LOCAL_MACHINE;
    EXPECT_FALSE(machine.OpenKey("K", false));
}

TEST_F(RegistryTest, WithoutAnOpenKeyWritesFailAndTextsReadEmpty)
{
    TRegistry reg;
    EXPECT_THROW(reg.WriteString("a", "b"), ERegistryException);
    EXPECT_THROW(reg.WriteInteger("a", 1), ERegistryException);
    EXPECT_EQ(reg.ReadString("a"), "");
    EXPECT_TRUE(reg.GetValueNames().empty());
}

TEST_F(RegistryTest, EveryKeyNameRoundTripsAndOnlyBackslashSeparates)
{
    const std::vector<std::string> names = {"A]B",  "Ports [COM1]", "]",     "[x",        "X/Y",
                                            "X\\Y", " edge ",       "a=b;c", "\xE8\xB0 #"};
    for (int pass = 0; pass < 2; ++pass)
        for (const std::string &name : names) {
            TRegistry reg;
            ASSERT_TRUE(reg.OpenKey("Software\\" + name, true)) << name;
            reg.WriteString("Name", name + std::to_string(pass));
        }
    for (const std::string &name : names) {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("software\\" + name, false)) << name;
        EXPECT_EQ(reg.ReadString("Name"), name + "1") << name;
    }
    TRegistry reg;
    EXPECT_TRUE(reg.KeyExists("Software\\X\\Y"));
    EXPECT_FALSE(reg.KeyExists("Software\\X\\Y\\Z"));
    EXPECT_FALSE(reg.OpenKey("Software/X/Y", false)) << "a slash is a letter of a name";
    // Each key is stored once, however often it was saved.
    std::ifstream in(Dir.filePath("reg/HKEY_CURRENT_USER.reg").toStdString());
    std::stringstream text;
    text << in.rdbuf();
    const std::string file = text.str();
    const std::string header = "[Software\\A]B]";
    EXPECT_NE(file.find(header), std::string::npos);
    EXPECT_EQ(file.find(header), file.rfind(header));
}

TEST_F(RegistryTest, NamesAndTextsTheFileCannotHoldAreRefused)
{
    TRegistry reg;
    for (const std::string &key :
         {std::string("Software\\Line\nBreak"), std::string("Software\\Tab\tKey"),
          std::string("Software\\Nul\0Key", 16), std::string(), std::string("\\")}) {
        EXPECT_FALSE(reg.OpenKey(key, true));
        EXPECT_FALSE(reg.KeyExists(key));
    }
    EXPECT_FALSE(reg.IsOpen());
    ASSERT_TRUE(reg.OpenKey("Software\\Values", true));
    for (const char *name : {"", "a=b", " lead", "trail ", "[x", ";x", "a\nb"}) {
        EXPECT_THROW(reg.WriteString(name, "v"), ERegistryException) << name;
        EXPECT_THROW(reg.WriteInteger(name, 1), ERegistryException) << name;
    }
    for (const char *value : {"COM2\r", "\r", "a\nb"})
        EXPECT_THROW(reg.WriteString("Port", value), ERegistryException) << value;
    EXPECT_TRUE(reg.GetValueNames().empty());
    reg.WriteString("a]b [c]", "kept");
    EXPECT_EQ(reg.ReadString("a]b [c]"), "kept");
}

// Files stored before names were kept whole still load; a key whose "]"
// cut its name short there is found again under the name it was saved as.
TEST_F(RegistryTest, FilesWrittenBeforeStillLoad)
{
    ASSERT_TRUE(QDir().mkpath(Dir.filePath("reg")));
    {
        std::ofstream out(Dir.filePath("reg/HKEY_CURRENT_USER.reg").toStdString());
        out << "[Software\\Test\\ComPort1]\nPort=s:COM2\nBaudRate=s:19200\nSize=d:-5\n\n"
               "[HARDWARE\\DEVICEMAP\\SERIALCOMM]\n\\Device\\Serial0=s:/dev/ttyS0\n\n"
               "[Software\\Ports]1]\nPort=s:COM3\n";
    }
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Software\\Test\\ComPort1", false));
    EXPECT_EQ(reg.ReadString("Port"), "COM2");
    EXPECT_EQ(reg.ReadString("BaudRate"), "19200");
    EXPECT_EQ(reg.ReadInteger("Size"), -5);
    ASSERT_TRUE(reg.OpenKey("HARDWARE\\DEVICEMAP\\SERIALCOMM", false));
    EXPECT_EQ(reg.ReadString("\\Device\\Serial0"), "/dev/ttyS0");
    ASSERT_TRUE(reg.OpenKey("Software\\Ports]1", false));
    EXPECT_EQ(reg.ReadString("Port"), "COM3");
    EXPECT_FALSE(reg.KeyExists("Software\\Ports"));
}
