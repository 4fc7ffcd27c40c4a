// The orva-sim program as a user starts it.

#include "LineClient.h"
#include "SimDevice.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

extern char **environ;

using namespace orvasim;

namespace {

struct TProgram {
    pid_t Pid = -1;
    FILE *Out = nullptr;
};

TProgram Start(std::vector<std::string> Args)
{
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    Args.insert(Args.begin(), ORVA_SIM_PROGRAM);
    std::vector<char *> argv;
    for (std::string &a : Args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    TProgram p;
    if (posix_spawn(&p.Pid, ORVA_SIM_PROGRAM, &actions, nullptr, argv.data(), environ) != 0)
        p.Pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    p.Out = fdopen(pipeFds[0], "r");
    return p;
}

// Exit status, or -1 when it does not end within a few seconds.
int Wait(pid_t Pid)
{
    for (int i = 0; i < 300; ++i) {
        int status = 0;
        if (waitpid(Pid, &status, WNOHANG) == Pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(Pid, SIGKILL);
    waitpid(Pid, nullptr, 0);
    return -1;
}

} // namespace

TEST(SimProgram, ServesTheLineBehindTheLinkUntilTerminated)
{
    char dir[] = "/tmp/orva-sim-test-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string link = std::string(dir) + "/ttyORVA";
    TProgram p = Start({"--link", link, "--records", "500"});
    ASSERT_GT(p.Pid, 0);
    char first[256] = {};
    ASSERT_NE(fgets(first, sizeof first, p.Out), nullptr);
    std::string slave = first;
    ASSERT_EQ(slave.back(), '\n');
    slave.pop_back();

    char target[256] = {};
    ASSERT_GT(readlink(link.c_str(), target, sizeof target - 1), 0);
    EXPECT_EQ(slave, target);
    {
        TLineClient line(link);
        EXPECT_EQ(line.Exchange(cmdPresence, 1000), ReplyYesVersion3);
        EXPECT_EQ(line.Exchange(cmdUsedHigh, 1000) * 256 + line.Exchange(cmdUsedLow, 1000), 6000);
    }
    kill(p.Pid, SIGTERM);
    EXPECT_EQ(Wait(p.Pid), 0);
    struct stat st;
    EXPECT_NE(lstat(link.c_str(), &st), 0) << "the link is removed on exit";
    fclose(p.Out);
    rmdir(dir);
}

TEST(SimProgram, RefusesBadArguments)
{
    for (const char *bad : {"--variant=3", "--records", "--period"}) {
        std::vector<std::string> args = {bad};
        if (std::string(bad) != "--variant=3")
            args.push_back(std::string(bad) == "--records" ? "5462" : "10");
        TProgram p = Start(args);
        ASSERT_GT(p.Pid, 0);
        EXPECT_EQ(Wait(p.Pid), 2) << bad;
        fclose(p.Out);
    }
}

// "--log": the bytes received and the writes to the line, on the clock the
// other side keeps too, in the order and with the pauses they came.
TEST(SimProgram, LogsWhatCrossesTheLineWithItsTime)
{
    char dir[] = "/tmp/orva-sim-test-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string link = std::string(dir) + "/ttyORVA";
    const std::string log = std::string(dir) + "/line.log";
    TProgram p = Start({"--link", link, "--records", "3", "--log", log});
    ASSERT_GT(p.Pid, 0);
    char first[256] = {};
    ASSERT_NE(fgets(first, sizeof first, p.Out), nullptr);
    using Clock = std::chrono::steady_clock;
    const auto ms = [](Clock::time_point T) {
        return std::chrono::duration<double, std::milli>(T.time_since_epoch()).count();
    };
    double sentE = 0, sentA = 0;
    {
        TLineClient line(link);
        sentE = ms(Clock::now());
        EXPECT_EQ(line.Exchange(cmdPresence, 1000), ReplyYesVersion3);
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        sentA = ms(Clock::now());
        line.Exchange(cmdUsedHigh, 1000);
        line.Send(cmdSend);
        EXPECT_EQ(line.ReadStream(36, 500).size(), 36u);
    }
    kill(p.Pid, SIGTERM);
    EXPECT_EQ(Wait(p.Pid), 0);
    fclose(p.Out);

    FILE *f = fopen(log.c_str(), "r");
    ASSERT_NE(f, nullptr);
    std::vector<std::pair<double, std::string>> lines;
    char text[128];
    while (fgets(text, sizeof text, f)) {
        double at = 0;
        char what[96] = {};
        ASSERT_EQ(sscanf(text, "%lf %95[^\n]", &at, what), 2) << text;
        lines.push_back({at, what});
    }
    fclose(f);
    std::vector<std::string> what;
    for (const auto &l : lines)
        what.push_back(l.second);
    EXPECT_EQ(what, (std::vector<std::string>{"rx 45", "tx 1", "rx 41", "tx 1", "rx 52",
                                              "tx 36 stream"}));
    ASSERT_EQ(lines.size(), 6u);
    for (size_t i = 1; i < lines.size(); ++i)
        EXPECT_LE(lines[i - 1].first, lines[i].first) << "times go forward";
    // The same clock as this side's: each command logged just after it left.
    EXPECT_GE(lines[0].first, sentE);
    EXPECT_LT(lines[0].first, sentE + 100);
    EXPECT_GE(lines[2].first, sentA);
    EXPECT_NEAR(lines[2].first - lines[0].first, sentA - sentE, 50);
    unlink(log.c_str());
    rmdir(dir);
}
