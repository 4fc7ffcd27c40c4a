// Time of one exchange, "E" and its reply, through the console's
// SendCommandByte and ReadReplyByte over a TComPort on the simulated logger.
// Usage: exchange-bench [EXCHANGES]

#include "CPort.h"
#include "DeviceExchange.h"
#include "ExchangeTiming.h"
#include "Simulator.h"

#include <QCoreApplication>

using namespace logbridge;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    orvasim::TSimulator sim(orvasim::TSimOptions{});
    TComPort ComPort1(nullptr);
    ComPort1.SetPort(sim.SlavePath());
    ComPort1.SetBaudRate(br19200);
    ComPort1.Buffer()->SetInputSize(65536);
    ComPort1.SetEvents({evRxChar});
    ComPort1.SetConnected(true);
    return TimeExchanges(argc, argv, "exchange-bench", [&] {
        SendCommandByte(ComPort1, 'E');
        return ReadReplyByte(ComPort1, 1000) == 'o';
    });
}
