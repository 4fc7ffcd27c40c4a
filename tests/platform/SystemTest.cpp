#include "System.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>

TEST(System, ParametersSplitAsTheShellSplitsThem)
{
    using V = std::vector<std::string>;
    EXPECT_EQ(SplitParameters(" /av"), V({"/av"}));
    EXPECT_EQ(SplitParameters("  a\tb  c "), V({"a", "b", "c"}));
    EXPECT_EQ(SplitParameters("\"C:\\Program Files\\x\" y"), V({"C:\\Program Files\\x", "y"}));
    EXPECT_EQ(SplitParameters("\"\""), V({""}));
    EXPECT_EQ(SplitParameters("a\\\"b"), V({"a\"b"}));
    EXPECT_EQ(SplitParameters("a\\\\\"b c\""), V({"a\\b c"}));
    EXPECT_EQ(SplitParameters("a\\\\b"), V({"a\\\\b"}));
    EXPECT_TRUE(SplitParameters("   ").empty());
}

TEST(System, ProgramFolderAndCommandLine)
{
    EXPECT_EQ(ProgramFolder(), QCoreApplication::applicationDirPath().toStdString());
    const std::string self = ParamStr(0);
    EXPECT_EQ(self.substr(self.find_last_of('/') + 1), "platform_tests");
    EXPECT_EQ(ParamStr(ParamCount() + 1), "");
    EXPECT_EQ(ParamStr(-1), "");
}

TEST(System, ShellStartsProgramsWithTheirParameters)
{
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    const std::string script = folder + "/tool";
    {
        std::ofstream s(script);
        s << "#!/bin/sh\nfor a in \"$@\"; do echo \"[$a]\"; done > \"$PWD/args.txt.part\"\n"
          << "mv \"$PWD/args.txt.part\" \"$PWD/args.txt\"\n";
    }
    ::chmod(script.c_str(), 0755);

    EXPECT_FALSE(ShellExecute("print", script, "", folder, SW_SHOWNORMAL));
    EXPECT_FALSE(ShellExecute("open", folder + "/missing", "", folder, SW_SHOWNORMAL));
    EXPECT_FALSE(ShellExecute("open", folder, "", "", SW_SHOWNORMAL)); // a folder is no program

    ASSERT_TRUE(ShellExecute("", "tool", " /av \"two words\"", folder, SW_SHOWNORMAL));
    QElapsedTimer t;
    t.start();
    while (!QFile::exists(dir.filePath("args.txt")) && t.elapsed() < 10000)
        QThread::msleep(10);
    std::ifstream in(folder + "/args.txt");
    const std::string args((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(args, "[/av]\n[two words]\n");
}
