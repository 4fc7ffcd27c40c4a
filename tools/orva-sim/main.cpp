// orva-sim: a simulated ORVA logger on a pseudo-terminal. Prints the path of
// the line on its first line of output and serves it until SIGINT or SIGTERM.

#include "Simulator.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <system_error>

using namespace orvasim;

namespace {

const char Usage[] =
    "usage: orva-sim [--link PATH] [--records N] [--variant 1|2] [--sampling] [--period CODE]\n"
    "                [--realtime] [--seed S] [--silent] [--late MS] [--garbage]\n"
    "                [--stream-limit K] [--verbose] [--log FILE]\n"
    "\n"
    "  --link PATH        make PATH a symbolic link to the line (removed on exit)\n"
    "  --records N        preload N records (0..5461) over several recording runs\n"
    "  --variant 1|2      1 answers presence with \"O\"; 2, a version 3.x logger, with \"o\"\n"
    "  --sampling         start with an acquisition running\n"
    "  --period CODE      sampling period code 0..9 (2 s .. 5 h)\n"
    "  --realtime         send at the real line rate, 1,920 bytes/s\n"
    "  --seed S           seed of the simulated climate and records\n"
    "  --silent           never answer (a logger that is off)\n"
    "  --late MS          answer MS milliseconds late\n"
    "  --garbage          answer the complement of every reply byte\n"
    "  --stream-limit K   break the memory transfer off after K bytes\n"
    "  --verbose          report on standard error what the logger does\n"
    "  --log FILE         write to FILE, with the monotonic time in ms, each byte\n"
    "                     received (\"rx\") and each write to the line (\"tx\")\n";

struct TUsageError {
    std::string Message;
};

template <class T> T Number(const char *Text, T Min, T Max, const char *Option)
{
    T value{};
    const char *end = Text + std::strlen(Text);
    const auto [ptr, ec] = std::from_chars(Text, end, value);
    if (ec != std::errc() || ptr != end || value < Min || value > Max)
        throw TUsageError{std::string(Option) + ": " + Text + " is not a number from " +
                          std::to_string(Min) + " to " + std::to_string(Max)};
    return value;
}

struct TProgramOptions {
    TSimOptions Sim;
    std::string Link;
    bool Verbose = false;
};

TProgramOptions Parse(int argc, char **argv)
{
    TProgramOptions o;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> const char * {
            if (i + 1 >= argc)
                throw TUsageError{arg + " needs a value"};
            return argv[++i];
        };
        if (arg == "--link")
            o.Link = value();
        else if (arg == "--records")
            o.Sim.Device.Records = Number<int>(value(), 0, int(MaxRecords), "--records");
        else if (arg == "--variant")
            o.Sim.Device.Variant = Number<int>(value(), 1, 2, "--variant");
        else if (arg == "--sampling")
            o.Sim.Device.Sampling = true;
        else if (arg == "--period")
            o.Sim.Device.PeriodCode = Number<int>(value(), 0, PeriodCount - 1, "--period");
        else if (arg == "--realtime")
            o.Sim.Realtime = true;
        else if (arg == "--seed")
            o.Sim.Device.Seed = Number<uint64_t>(value(), 0, UINT64_MAX, "--seed");
        else if (arg == "--silent")
            o.Sim.Faults.Silent = true;
        else if (arg == "--late")
            o.Sim.Faults.LateMs = Number<uint32_t>(value(), 0, 600000, "--late");
        else if (arg == "--garbage")
            o.Sim.Faults.Garbage = true;
        else if (arg == "--stream-limit")
            o.Sim.Faults.StreamLimit = Number<size_t>(value(), 0, MemorySize, "--stream-limit");
        else if (arg == "--verbose")
            o.Verbose = true;
        else if (arg == "--log")
            o.Sim.LogPath = value();
        else if (arg == "--help" || arg == "-h") {
            std::cout << Usage;
            std::exit(0);
        } else
            throw TUsageError{"unknown argument " + arg};
    }
    return o;
}

// Makes Link point to Target. A link left by an earlier run is replaced; any
// other file stays.
void MakeLink(const std::string &Link, const std::string &Target)
{
    char old[4096];
    if (readlink(Link.c_str(), old, sizeof old) >= 0)
        unlink(Link.c_str());
    if (symlink(Target.c_str(), Link.c_str()) != 0)
        throw std::system_error(errno, std::generic_category(), Link);
}

void RemoveLink(const std::string &Link, const std::string &Target)
{
    char old[4096];
    const ssize_t n = readlink(Link.c_str(), old, sizeof old);
    if (n >= 0 && std::string(old, size_t(n)) == Target)
        unlink(Link.c_str());
}

} // namespace

int main(int argc, char **argv)
{
    TProgramOptions options;
    try {
        options = Parse(argc, argv);
    } catch (const TUsageError &e) {
        std::cerr << "orva-sim: " << e.Message << "\n" << Usage;
        return 2;
    }
    if (options.Verbose)
        options.Sim.OnEvent = [](const std::string &Event) {
            std::cerr << "orva-sim: " << Event << std::endl;
        };

    // Taken by sigwait below; blocked before the simulator's thread starts so
    // that no other thread receives them.
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGINT);
    sigaddset(&stop, SIGTERM);
    sigaddset(&stop, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stop, nullptr);

    try {
        TSimulator sim(options.Sim);
        if (!options.Link.empty())
            MakeLink(options.Link, sim.SlavePath());
        std::cout << sim.SlavePath() << std::endl;
        int signal = 0;
        sigwait(&stop, &signal);
        sim.HangUp(std::chrono::milliseconds(500));
        if (!options.Link.empty())
            RemoveLink(options.Link, sim.SlavePath());
    } catch (const std::exception &e) {
        std::cerr << "orva-sim: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
