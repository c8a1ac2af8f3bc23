#ifndef QUENVAR_SERIALPORTLIST_H
#define QUENVAR_SERIALPORTLIST_H

#include <string>
#include <vector>

// Lists the machine's serial devices as openable paths (/dev/ttyS0,
// /dev/ttyUSB0, /dev/ttyACM0, ...). A tty counts when its sysfs entry has a
// "device" link (so virtual consoles and ptys are left out); a UART slot
// whose "type" reads 0 has no hardware behind it and is left out too.
// Order: natural (ttyS2 before ttyS10), stable.
//
//   for (const std::string& path : SerialPortList().Scan()) ...
class SerialPortList
{
public:
    // sysfsTtyRoot: the folder of tty entries; devRoot: where the device
    // nodes live. Tests point both at a fake tree.
    explicit SerialPortList(std::string sysfsTtyRoot = "/sys/class/tty", std::string devRoot = "/dev");

    // The device paths found now; empty when the root cannot be read.
    std::vector<std::string> Scan() const;

    // Natural order of names: digit runs compare by value.
    static bool NaturalLess(const std::string& a, const std::string& b);

private:
    std::string m_sysfsTtyRoot;
    std::string m_devRoot;
};

#endif
