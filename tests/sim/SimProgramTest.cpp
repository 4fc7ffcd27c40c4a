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

TProgram Start(std::vector<std::string> Args) {
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
int Wait(pid_t Pid) {
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

TEST(SimProgram, ServesTheLineBehindTheLinkUntilTerminated) {
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

TEST(SimProgram, RefusesBadArguments) {
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
