#include <cstdlib>
#include <fstream>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "SerialPortList.h"

namespace
{

// A throw-away tree shaped like /sys/class/tty.
class FakeSysfs
{
public:
    FakeSysfs()
    {
        char dir[] = "/tmp/quenvar-sysfs-XXXXXX";
        if (mkdtemp(dir))
            m_root = dir;
        mkdir((m_root + "/devices").c_str(), 0755);
    }
    ~FakeSysfs() { std::system(("rm -rf '" + m_root + "'").c_str()); }

    // A tty entry; with a device link when device is true, with a "type"
    // file when type >= 0.
    void Add(const std::string& name, bool device, int type = -1)
    {
        const std::string entry = m_root + "/" + name;
        mkdir(entry.c_str(), 0755);
        if (device)
        {
            const std::string target = m_root + "/devices/" + name;
            mkdir(target.c_str(), 0755);
            symlink(target.c_str(), (entry + "/device").c_str());
        }
        if (type >= 0)
            std::ofstream(entry + "/type") << type << "\n";
    }

    std::string m_root;
};

} // namespace

TEST(SerialPortList, ListsDevicesInNaturalOrder)
{
    FakeSysfs sysfs;
    ASSERT_FALSE(sysfs.m_root.empty());
    sysfs.Add("ttyS10", true, 4);
    sysfs.Add("ttyUSB0", true);
    sysfs.Add("ttyS2", true, 4);
    sysfs.Add("ttyACM1", true);
    sysfs.Add("ttyUSB10", true);
    sysfs.Add("ttyUSB9", true);
    sysfs.Add("tty0", false);        // virtual console
    sysfs.Add("ptmx", false);
    sysfs.Add("ttyS3", true, 0);     // legacy UART slot with no chip

    const std::vector<std::string> ports = SerialPortList(sysfs.m_root, "/dev").Scan();
    const std::vector<std::string> expected = {"/dev/ttyACM1", "/dev/ttyS2", "/dev/ttyS10",
                                               "/dev/ttyUSB0", "/dev/ttyUSB9", "/dev/ttyUSB10"};
    EXPECT_EQ(expected, ports);
}

TEST(SerialPortList, MissingRootGivesNothing)
{
    EXPECT_TRUE(SerialPortList("/nonexistent/quenvar/tty").Scan().empty());
}

TEST(SerialPortList, NaturalOrderComparesNumbersByValue)
{
    EXPECT_TRUE(SerialPortList::NaturalLess("ttyS2", "ttyS10"));
    EXPECT_FALSE(SerialPortList::NaturalLess("ttyS10", "ttyS2"));
    EXPECT_TRUE(SerialPortList::NaturalLess("ttyS9", "ttyUSB0"));
    EXPECT_TRUE(SerialPortList::NaturalLess("ttyS", "ttyS0"));
    EXPECT_FALSE(SerialPortList::NaturalLess("ttyS1", "ttyS1"));
    // Equal values still order strictly and consistently.
    EXPECT_NE(SerialPortList::NaturalLess("ttyS01", "ttyS1"), SerialPortList::NaturalLess("ttyS1", "ttyS01"));
    EXPECT_TRUE(SerialPortList::NaturalLess("a99999999999999999999", "a100000000000000000000"));
}
