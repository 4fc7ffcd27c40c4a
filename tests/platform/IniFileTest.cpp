#include "IniFile.h"
#include "ReadOnlyFile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <chrono>
#include <csignal>
#include <fstream>
#include <future>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>

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

    // Writes a long setting while files may grow to Limit bytes only, which
    // stands in for a full disk for root too; whether the write failed.
    bool LongWriteFails(std::size_t Limit) const
    {
        rlimit saved{};
        if (getrlimit(RLIMIT_FSIZE, &saved) != 0)
            return false;
        rlimit small = saved;
        small.rlim_cur = rlim_t(Limit);
        const auto handler = signal(SIGXFSZ, SIG_IGN);
        if (setrlimit(RLIMIT_FSIZE, &small) != 0)
            return false;
        bool raised = false;
        try {
            TIniFile(Path()).WriteString("ComPort1", "StopBits", std::string(100, '1'));
        } catch (const EIniFileException &) {
            raised = true;
        }
        setrlimit(RLIMIT_FSIZE, &saved);
        signal(SIGXFSZ, handler);
        return raised;
    }
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
    std::ofstream(Path())
        << "; comment\n[comport1]\n  port =  COM4  \nName=\"quoted value\"\n\n[Next]\nPort=X\n";
    TIniFile ini(Path());
    EXPECT_EQ(ini.ReadString("ComPort1", "PORT", ""), "COM4");
    EXPECT_EQ(ini.ReadString("COMPORT1", "name", ""), "quoted value");
    ini.WriteString("ComPort1", "New", "1");
    // A key added to a section goes after its last entry, before the blank line.
    EXPECT_EQ(ReadAll(Path()), "; comment\n[comport1]\n  port =  COM4  \nName=\"quoted "
                               "value\"\nNew=1\n\n[Next]\nPort=X\n");
}

TEST_F(IniFileTest, WhatWouldNotReadBackAsWrittenIsRefused)
{
    TIniFile ini(Path());
    for (const char *value : {"COM2\r", "\rCOM2", "a\nb"})
        EXPECT_THROW(ini.WriteString("ComPort1", "Port", value), EIniFileException) << value;
    for (const char *section : {"", " ComPort1", "a]b", "a\nb"})
        EXPECT_THROW(ini.WriteString(section, "Port", "COM2"), EIniFileException) << section;
    for (const char *key : {"", "Port ", "a=b", ";Port", "[Port]"})
        EXPECT_THROW(ini.WriteString("ComPort1", key, "COM2"), EIniFileException) << key;
    EXPECT_EQ(ReadAll(Path()), "");
}

TEST_F(IniFileTest, ValuesWithBlanksAtTheEndsOrInQuotesGoInOneMorePair)
{
    for (const std::string value : {"/tmp/tty ORVA ", " /dev/x\t", "\"quoted\"", "'q'"}) {
        TIniFile(Path()).WriteString("ComPort1", "Port", value);
        EXPECT_EQ(ReadAll(Path()), "[ComPort1]\nPort=\"" + value + "\"\n");
        EXPECT_EQ(TIniFile(Path()).ReadString("ComPort1", "Port", ""), value);
    }
}

TEST_F(IniFileTest, IntegersAreDecimalOrHexWithPrefix)
{
    std::ofstream(Path())
        << "[S]\na=123\nb=-7\nc=0x1F\nd=0X10\ne=0x\nf=12abc\ng=\nh=x10\ni=99999999999\n";
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

// A folder that takes no new file still holds writable settings: they are
// written in place, and a disk without room for them leaves them as they were.
TEST_F(IniFileTest, SettingsInAFolderThatTakesNoNewFile)
{
    TIniFile(Path()).WriteString("ComPort1", "Port", "/dev/ttyUSB0");
    const std::string before = ReadAll(Path());
    TSealedFolder sealed(Dir.path().toStdString());
    if (!sealed.Ok())
        GTEST_SKIP() << "this file system lets the folder take new files";

    EXPECT_TRUE(LongWriteFails(before.size() + 20));
    EXPECT_EQ(ReadAll(Path()), before) << "byte for byte";

    // With room, in place; a shorter content leaves no tail of the old.
    TIniFile(Path()).WriteString("ComPort1", "Port", "/dev/ttyS0");
    EXPECT_EQ(TIniFile(Path()).ReadString("ComPort1", "Port", ""), "/dev/ttyS0");
    EXPECT_EQ(ReadAll(Path()).size(), before.size() - 2);
}

// Settings files are replaced whole: a disk that fills part way, a FIFO or
// a folder in the file's place never leave the settings cut short or the
// program waiting.
TEST_F(IniFileTest, AWriteThatFailsPartWayLeavesTheFileAsItWas)
{
    {
        TIniFile ini(Path());
        ini.WriteString("ComPort1", "Port", "/dev/ttyUSB0");
        ini.WriteString("ComPort1", "BaudRate", "19200");
    }
    ASSERT_EQ(::chmod(Path().c_str(), 0640), 0);
    const std::string before = ReadAll(Path());
    EXPECT_TRUE(LongWriteFails(40));
    EXPECT_EQ(ReadAll(Path()), before) << "byte for byte";
    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files), QStringList{"test.ini"}) << "no part left";

    // A write that succeeds keeps the file's mode.
    TIniFile(Path()).WriteString("ComPort1", "StopBits", "1");
    struct stat st = {};
    ASSERT_EQ(::stat(Path().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(TIniFile(Path()).ReadString("ComPort1", "StopBits", ""), "1");
}

TEST_F(IniFileTest, AFifoOrFolderInTheFilesPlaceIsNeitherReadNorWritten)
{
    const std::string fifo = Dir.filePath("fifo.ini").toStdString();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // Nobody writes to the FIFO: a reader that opened it would wait for ever.
    auto reading = std::async(
        std::launch::async, [&] { return TIniFile(fifo).ReadString("ComPort1", "Port", "COM2"); });
    ASSERT_EQ(reading.wait_for(std::chrono::seconds(5)), std::future_status::ready)
        << "reading a FIFO waits";
    EXPECT_EQ(reading.get(), "COM2") << "read as a missing file";
    auto writing = std::async(std::launch::async, [&] {
        try {
            TIniFile(fifo).WriteString("ComPort1", "Port", "COM3");
        } catch (const EIniFileException &) {
            return true;
        }
        return false;
    });
    ASSERT_EQ(writing.wait_for(std::chrono::seconds(5)), std::future_status::ready)
        << "writing a FIFO waits";
    EXPECT_TRUE(writing.get());
    struct stat st = {};
    ASSERT_EQ(::stat(fifo.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));

    const std::string folder = Dir.filePath("folder.ini").toStdString();
    ASSERT_TRUE(QDir().mkdir(QString::fromStdString(folder)));
    EXPECT_EQ(TIniFile(folder).ReadString("S", "k", "d"), "d");
    EXPECT_THROW(TIniFile(folder).WriteString("S", "k", "v"), EIniFileException);
}
