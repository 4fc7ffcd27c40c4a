// Time of one exchange, "E" and its reply, over the pseudo-terminal against
// the simulated logger, on a raw descriptor as the console uses its port:
// empty both queues, write one byte, wait for one byte.
// Usage: orva-sim-bench [EXCHANGES]

#include "ExchangeTiming.h"
#include "LineClient.h"
#include "Simulator.h"

using namespace orvasim;

int main(int argc, char **argv)
{
    TSimulator sim(TSimOptions{});
    TLineClient line(sim.SlavePath());
    return TimeExchanges(argc, argv, "orva-sim-bench",
                         [&] { return line.Exchange(cmdPresence, 1000) == ReplyYesVersion3; });
}
