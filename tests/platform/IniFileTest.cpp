#include "IniFile.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <fstream>
#include <sstream>

namespace {

std::string ReadAll(const std::string &Path)
{
    std::ifstream in(Path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class IniFileTest : public ::testing::Test {
protected:
    QTemporaryDir Dir;
    std::string Path() const { return Dir.filePath("test.ini").toStdString(); }
};

} // namespace

TEST_F(IniFileTest, MissingFileSectionOrKeyReadsTheDefault)
{
    TIniFile ini(Path());
    EXPECT_EQ(ini.ReadString("ComPort1", "Port", "COM7"), "COM7");
    EXPECT_EQ(ini.ReadInteger("ComPort1", "Size", 42), 42);
    ini.WriteString("Other", "Port", "x");
    EXPECT_EQ(ini.ReadString("ComPort1", "Port", "COM7"), "COM7");
    EXPECT_FALSE(ini.SectionExists("ComPort1"));
}

TEST_F(IniFileTest, WritesCreateTheFileAndKeepKeysInOrder)
{
    TIniFile ini(Path());
    ini.WriteString("ComPort1", "Port", "COM2");
    ini.WriteString("ComPort1", "BaudRate", "19200");
    ini.WriteInteger("ComPort1", "Size", -1);
    ini.WriteString("ComPort1", "Port", "COM3");
    EXPECT_EQ(ReadAll(Path()), "[ComPort1]\nPort=COM3\nBaudRate=19200\nSize=-1\n");
}

TEST_F(IniFileTest, SectionsAndKeysIgnoreLetterCaseAndValuesAreTrimmed)
{
    std::ofstream(Path()) << "; comment\n[comport1]\n  port =  COM4  \nName=\"quoted value\"\n\n[Next]\nPort=X\n";
    TIniFile ini(Path());
    EXPECT_EQ(ini.ReadString("ComPort1", "PORT", ""), "COM4");
    EXPECT_EQ(ini.ReadString("COMPORT1", "name", ""), "quoted value");
    ini.WriteString("ComPort1", "New", "1");
    // A key added to a section goes after its last entry, before the blank line.
    EXPECT_EQ(ReadAll(Path()),
              "; comment\n[comport1]\n  port =  COM4  \nName=\"quoted value\"\nNew=1\n\n[Next]\nPort=X\n");
}

TEST_F(IniFileTest, IntegersAreDecimalOrHexWithPrefix)
{
    std::ofstream(Path()) << "[S]\na=123\nb=-7\nc=0x1F\nd=0X10\ne=0x\nf=12abc\ng=\nh=x10\ni=99999999999\n";
    TIniFile ini(Path());
    EXPECT_EQ(ini.ReadInteger("S", "a", 0), 123);
    EXPECT_EQ(ini.ReadInteger("S", "b", 0), -7);
    EXPECT_EQ(ini.ReadInteger("S", "c", 0), 31);
    EXPECT_EQ(ini.ReadInteger("S", "d", 0), 16);
    EXPECT_EQ(ini.ReadInteger("S", "e", 5), 5);
    EXPECT_EQ(ini.ReadInteger("S", "f", 5), 5);
    EXPECT_EQ(ini.ReadInteger("S", "g", 5), 5);
    EXPECT_EQ(ini.ReadInteger("S", "h", 5), 5);
    EXPECT_EQ(ini.ReadInteger("S", "i", 5), 5);
}

TEST_F(IniFileTest, AFailedWriteRaises)
{
    TIniFile ini(Dir.filePath("no/such/folder/x.ini").toStdString());
    EXPECT_THROW(ini.WriteString("S", "k", "v"), EIniFileException);
}
