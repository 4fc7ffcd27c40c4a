#include "MemoryImage.h"
#include "Records.h"
#include "ReadOnlyFile.h"

#include <gtest/gtest.h>

#include <QDir>

#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace logbridge;

namespace {

std::vector<uint8_t> FileBytes(const std::string &Path)
{
    const std::string text = FileText(Path);
    return {text.begin(), text.end()};
}

void PutFile(const std::string &Path, const std::vector<uint8_t> &Bytes)
{
    std::ofstream out(Path, std::ios::binary);
    out.write(reinterpret_cast<const char *>(Bytes.data()), std::streamsize(Bytes.size()));
}

TEST(MemoryRecord, FieldsByOffset)
{
    TImageBuffer image{};
    TSample s;
    s.Humidity = 0x05CE;
    s.Temperature = 0x0D8E;
    s.Run = 0;
    PutRecord(image, 1, s);
    const MemoryRecord r = ReadMemoryRecord(image, 1);
    EXPECT_EQ(r.Day, 8);
    EXPECT_EQ(r.Month, 12);
    EXPECT_EQ(r.Year, 7);
    EXPECT_EQ(r.Hour, 14);
    EXPECT_EQ(r.Minute, 5);
    EXPECT_EQ(r.Second, 30);
    EXPECT_EQ(r.Spare, 0xEE);
    EXPECT_NEAR(r.Temperature(), -5.3, 1e-9); // high byte first
    EXPECT_NEAR(r.Humidity(), 50.0000512, 1e-9);
    EXPECT_EQ(r.RunNumber(), -1);
}

TEST(MemoryRecord, StampAndCounts)
{
    TImageBuffer image{};
    PutRecord(image, 0, TSample{});
    const std::string stamp = RecordStamp(ReadMemoryRecord(image, 0));
    EXPECT_EQ(stamp, "08.12.2007.  [14:05:30]");
    EXPECT_EQ(stamp.size(), 23u);

    EXPECT_EQ(RecordCount(65535), 5461);
    EXPECT_EQ(RecordCount(25), 2);
    EXPECT_EQ(RecordCount(-7), 0);
    EXPECT_EQ(RecordCount(1 << 30), 5461); // never past the buffer
}

class MemoryImageFiles : public ::testing::Test {
protected:
    std::string Path(const std::string &Name) const { return TempPath(Dir, Name); }
    QTemporaryDir Dir;
    std::unique_ptr<TConsoleState> State = NewState();
};

TEST_F(MemoryImageFiles, SavedDownloadCarriesTheFollowingByteAndLoadsBack)
{
    std::vector<uint8_t> stream(24);
    for (int i = 0; i < 24; ++i)
        stream[i] = uint8_t(i + 1);
    State->DownloadBuffer[24] = 0x5A; // left by an earlier, longer download
    State->ByteCount = 24;
    StoreDownload(*State, stream.data(), stream.size());
    EXPECT_EQ(State->WorkBuffer, State->DownloadBuffer);

    SaveMemoryImage(*State, Path("a.bin"));
    std::vector<uint8_t> expected = stream;
    expected.push_back(0x5A);
    EXPECT_EQ(FileBytes(Path("a.bin")), expected);
    EXPECT_EQ(SavedFileCaption(Path("a.bin")), "Fajl snimljen: a.bin");

    auto loaded = NewState();
    loaded->DownloadBuffer[3] = 0x77;
    loaded->WorkBuffer.fill(0xFF);
    LoadMemoryImage(*loaded, Path("a.bin"));
    EXPECT_EQ(loaded->ByteCount, 25);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), loaded->WorkBuffer.begin()));
    EXPECT_EQ(loaded->WorkBuffer[25], 0); // nothing of the earlier image stays behind
    EXPECT_EQ(loaded->DownloadBuffer[3], 0x77);
}

TEST_F(MemoryImageFiles, SavingALoadedImageWritesItAsItWasRead)
{
    // The download buffer still holds an older download: it must not be
    // saved under the loaded file's size.
    State->DownloadBuffer.fill(0x11);
    const std::vector<uint8_t> file = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13};
    PutFile(Path("in.bin"), file);
    LoadMemoryImage(*State, Path("in.bin"));
    SaveMemoryImage(*State, Path("out.bin"));
    EXPECT_EQ(FileBytes(Path("out.bin")), file);

    // A new download is saved from the download image again.
    const uint8_t two[2] = {0xA0, 0xA1};
    State->ByteCount = 2;
    StoreDownload(*State, two, 2);
    SaveMemoryImage(*State, Path("dl.bin"));
    EXPECT_EQ(FileBytes(Path("dl.bin")), (std::vector<uint8_t>{0xA0, 0xA1, 0x11}));
}

TEST_F(MemoryImageFiles, EdgeSizes)
{
    PutFile(Path("empty.bin"), {});
    State->ByteCount = 99;
    LoadMemoryImage(*State, Path("empty.bin"));
    EXPECT_EQ(State->ByteCount, 0);

    // The largest file a save writes: a full memory and its extra byte.
    std::vector<uint8_t> full(ImageBufferSize);
    for (std::size_t i = 0; i < full.size(); ++i)
        full[i] = uint8_t(i * 7);
    PutFile(Path("full.bin"), full);
    LoadMemoryImage(*State, Path("full.bin"));
    EXPECT_EQ(State->ByteCount, 65536);
    EXPECT_TRUE(std::equal(full.begin(), full.end(), State->WorkBuffer.begin()));
    SaveMemoryImage(*State, Path("full2.bin"));
    EXPECT_EQ(FileBytes(Path("full2.bin")), full);
}

TEST_F(MemoryImageFiles, RefusedFilesLeaveTheImageAsItWas)
{
    const std::vector<uint8_t> good(36, 0x42);
    PutFile(Path("good.bin"), good);
    LoadMemoryImage(*State, Path("good.bin"));

    PutFile(Path("big.bin"), std::vector<uint8_t>(ImageBufferSize + 1, 0x99));
    EXPECT_THROW(LoadMemoryImage(*State, Path("big.bin")), EMemoryImageTooLarge);
    EXPECT_THROW(LoadMemoryImage(*State, Path("missing.bin")), EInOutError);
    EXPECT_THROW(LoadMemoryImage(*State, Dir.path().toStdString()), EInOutError);
    EXPECT_EQ(State->ByteCount, 36);
    EXPECT_EQ(State->WorkBuffer[35], 0x42);
    EXPECT_EQ(State->WorkBuffer[36], 0);
}

TEST_F(MemoryImageFiles, ImagesThatCannotBeWrittenStillLoad)
{
    PutFile(Path("ro.bin"), std::vector<uint8_t>(13, 3));
    const TReadOnlyFile readOnly(Path("ro.bin"));
    if (!readOnly.Ok())
        GTEST_SKIP() << "this user can write every file here (root on a filesystem "
                        "without immutable files)";
    LoadMemoryImage(*State, readOnly.Path());
    EXPECT_EQ(State->ByteCount, 13);
}

TEST_F(MemoryImageFiles, SaveFailureRaises)
{
    EXPECT_THROW(SaveMemoryImage(*State, Path("no/such/folder.bin")), EInOutError);
}

TEST_F(MemoryImageFiles, SaveThatRunsOutOfSpaceKeepsTheFileItWouldReplace)
{
    const std::vector<uint8_t> good(25, 0x42);
    PutFile(Path("keep.bin"), good);
    State->ByteCount = 600;
    // A file size limit stands in for a full disk: writes past 100 bytes fail.
    rlimit before{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
    rlimit small = before;
    small.rlim_cur = 100;
    const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    EXPECT_THROW(SaveMemoryImage(*State, Path("keep.bin")), EInOutError);
    setrlimit(RLIMIT_FSIZE, &before);
    signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(FileBytes(Path("keep.bin")), good);
    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files), QStringList{"keep.bin"});

    // What is not a regular file is refused, with or without a reader at its
    // other end, and stays what it was.
    const std::string pipe = Path("pipe");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    State->ByteCount = 2;
    EXPECT_THROW(SaveMemoryImage(*State, pipe), EInOutError);
    const int reader = open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    try {
        SaveMemoryImage(*State, pipe);
        ADD_FAILURE() << "a FIFO was written";
    } catch (const EInOutError &E) {
        EXPECT_EQ(std::string(E.what()).rfind("Fajl ne moze da se kreira: " + pipe, 0), 0u)
            << E.what();
    }
    char got[8] = {};
    EXPECT_EQ(read(reader, got, sizeof got), 0) << "bytes came through the FIFO";
    close(reader);
    struct stat st = {};
    ASSERT_EQ(stat(pipe.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

TEST(StoreDownload, MoreBytesThanTheBufferKeepsTheFirst65536)
{
    auto state = NewState();
    std::vector<uint8_t> stream(ImageBufferSize + 100, 0xAB);
    stream[ImageBufferSize - 1] = 0xCD;
    state->ByteCount = 65535;
    StoreDownload(*state, stream.data(), stream.size());
    EXPECT_EQ(state->DownloadBuffer[ImageBufferSize - 1], 0xCD);
    EXPECT_EQ(state->WorkBuffer[ImageBufferSize - 1], 0xCD);
    EXPECT_EQ(state->ByteCount, 65535);
    EXPECT_FALSE(state->WorkImageLoaded);
}

} // namespace
