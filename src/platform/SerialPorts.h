#pragma once
// The machine's serial ports, published where programs written for the
// registry look for them: HKEY_LOCAL_MACHINE\HARDWARE\DEVICEMAP\SERIALCOMM,
// one value per port, its data the port's path.

#include <string>
#include <vector>

// The registry key of the serial-port map, below HKEY_LOCAL_MACHINE.
inline constexpr const char *SerialCommKey = "HARDWARE\\DEVICEMAP\\SERIALCOMM";

// The serial ports under DevFolder: ttyS* that a serial driver really serves
// (the kernel makes ttyS0..31 whether or not a UART is there), ttyUSB* and
// ttyACM*, sorted by name and number. Then each path of Extra (separated by
// ':') that exists, links such as /tmp/ttyORVA included.
std::vector<std::string> SerialPortPaths(const std::string &DevFolder = "/dev",
                                         const std::string &Extra = "");

// Rewrites the serial-port map with Paths, in order, as values named
// "\Device\Serial0", "\Device\Serial1" ...; values of ports gone are removed.
void PublishSerialPorts(const std::vector<std::string> &Paths);

// Publishes the machine's ports and those named by $ORVA_EXTRA_PORTS.
void PublishMachineSerialPorts();
