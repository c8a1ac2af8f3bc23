#include <chrono>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "PortOpenError.h"
#include "SerialFifo.h"
#include "SimulatedEcu.h"
#include "wxSerialPort.h"

namespace
{

SerialSettings EcuSettings()
{
    return SerialSettings{10000, 0, 8, 1, 0, 0};
}

std::string SettingsString(wxSerialPort& port)
{
    char text[128];
    port.GetSettingsString(text, sizeof text);
    return text;
}

// Waits, with a deadline, until the port reports at least count bytes.
int WaitForBytes(wxIOBase& port, int count)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    int waiting = 0;
    while (std::chrono::steady_clock::now() < deadline)
    {
        if (port.Ioctl(SERIAL_BYTES_WAITING, &waiting) == 0 && waiting >= count)
            break;
        usleep(200);
    }
    return waiting;
}

// A stream fed from a script of reads: each entry is what one Read call
// returns (an empty entry = nothing arrived yet; "\x01FAIL" = a failure).
class ScriptedStream : public wxIOBase
{
public:
    int Close() override { return 0; }
    int Open(const char*, SerialSettings*) override { return 0; }
    bool IsOpen() override { return true; }
    int Read(char* buf, std::size_t len) override
    {
        if (m_script.empty())
            return 0;
        std::string& next = m_script.front();
        if (next == "\x01" "FAIL")
            return -1;
        if (next.empty())
        {
            m_script.pop_front();
            return 0;
        }
        const std::size_t n = std::min(len, next.size());
        std::memcpy(buf, next.data(), n);
        next.erase(0, n);
        if (next.empty())
            m_script.pop_front();
        return static_cast<int>(n);
    }
    int Write(const char*, std::size_t len) override { return static_cast<int>(len); }

    std::deque<std::string> m_script;
};

struct UntilResult
{
    int result;
    std::string bytes;
};

UntilResult RunReadUntil(ScriptedStream& stream, const char* eos, unsigned timeout, char quote = '\0')
{
    char* buf = nullptr;
    std::size_t len = 0;
    UntilResult r;
    r.result = stream.ReadUntil(&buf, &len, eos, timeout, quote);
    r.bytes.assign(buf, len);
    EXPECT_EQ('\0', buf[len]);
    delete[] buf;
    return r;
}

} // namespace

TEST(SerialPort, OpensPtyAtControllerRateAndDescribesIt)
{
    SimulatedEcu ecu;
    ASSERT_TRUE(ecu.IsOpen());
    wxSerialPort port;
    EXPECT_FALSE(port.IsOpen());
    EXPECT_STREQ("wxSerialPort", port.ClassName());

    SerialSettings settings = EcuSettings();
    ASSERT_EQ(0, port.Open(ecu.SlavePath().c_str(), &settings));
    EXPECT_TRUE(port.IsOpen());
    EXPECT_EQ("8N1 10000 " + ecu.SlavePath(), SettingsString(port));

    // Close twice, open twice: no failure, no leaked descriptor in the way.
    EXPECT_EQ(0, port.Close());
    EXPECT_EQ(0, port.Close());
    EXPECT_FALSE(port.IsOpen());
    ASSERT_EQ(0, port.Open(ecu.SlavePath().c_str(), &settings));
    ASSERT_EQ(0, port.Open(ecu.SlavePath().c_str(), nullptr));
    EXPECT_TRUE(port.IsOpen());
    EXPECT_EQ("8N1 10000 " + ecu.SlavePath(), SettingsString(port));

    // The exclusive claim is dropped on close: a second port object can
    // open the device once the first has let go.
    port.Close();
    wxSerialPort other;
    EXPECT_EQ(0, other.Open(ecu.SlavePath().c_str(), &settings));
}

TEST(SerialPort, MissingDeviceFailsButKeepsSettings)
{
    wxSerialPort port;
    SerialSettings settings = {57600, 2, 7, 2, 0, 0};
    EXPECT_EQ(SERIAL_NO_DEVICE, port.Open("/dev/quenvar-no-such-device", &settings));
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(57600, port.GetBaud());
    EXPECT_EQ("7E2 57600 ", SettingsString(port));

    int waiting = 123;
    EXPECT_EQ(-1, port.Ioctl(SERIAL_BYTES_WAITING, &waiting));
    char byte;
    EXPECT_EQ(-1, port.Read(&byte, 1));
    EXPECT_EQ(-1, port.Write("x", 1));
    EXPECT_EQ(-1, port.GetLineState());
    EXPECT_EQ(-1, port.SendBreak(1));
}

TEST(SerialPort, DefaultsAndParityLetters)
{
    wxSerialPort port;
    EXPECT_EQ("8N1 19200 ", SettingsString(port));

    SimulatedEcu ecu;
    ASSERT_TRUE(ecu.IsOpen());
    // Mark and space cannot be set on a tty; the port opens without parity
    // and still names what was asked for.
    SerialSettings mark = {10000, 3, 8, 1, 0, 0};
    EXPECT_EQ(0, port.Open(ecu.SlavePath().c_str(), &mark));
    EXPECT_EQ("8M1 10000 " + ecu.SlavePath(), SettingsString(port));
    SerialSettings space = {9600, 4, 7, 2, 0, 0};
    EXPECT_EQ(0, port.Open(ecu.SlavePath().c_str(), &space));
    EXPECT_EQ("7S2 9600 " + ecu.SlavePath(), SettingsString(port));

    // A word length the driver has no setting for is refused; the device
    // stays open until Close.
    SerialSettings nine = {9600, 0, 9, 1, 0, 0};
    EXPECT_EQ(-2, port.Open(ecu.SlavePath().c_str(), &nine));
    EXPECT_TRUE(port.IsOpen());
    port.Close();
    EXPECT_FALSE(port.IsOpen());
}

TEST(SerialPort, LongDeviceNameKeepsThirtyOneCharacters)
{
    SimulatedEcu ecu;
    ASSERT_TRUE(ecu.IsOpen());
    char dir[] = "/tmp/quenvar-serial-XXXXXX";
    ASSERT_NE(nullptr, mkdtemp(dir));
    std::string link = std::string(dir) + "/";
    link += std::string(40 - link.size(), 'p');
    ASSERT_EQ(40u, link.size());
    ASSERT_EQ(0, symlink(ecu.SlavePath().c_str(), link.c_str()));

    wxSerialPort port;
    SerialSettings settings = EcuSettings();
    EXPECT_EQ(0, port.Open(link.c_str(), &settings));
    EXPECT_EQ(link.substr(0, 31), port.GetDeviceName());

    port.Close();
    unlink(link.c_str());
    rmdir(dir);
}

TEST(SerialPort, ReadReturnsAtOnceWithWhatArrived)
{
    SimulatedEcu ecu;
    ASSERT_TRUE(ecu.IsOpen());
    wxSerialPort port;
    SerialSettings settings = EcuSettings();
    ASSERT_EQ(0, port.Open(ecu.SlavePath().c_str(), &settings));

    char buf[64];
    int waiting = -1;
    EXPECT_EQ(0, port.Ioctl(SERIAL_BYTES_WAITING, &waiting));
    EXPECT_EQ(0, waiting);
    EXPECT_EQ(0, port.Read(buf, sizeof buf));

    // Raw mode: CR, LF, 0x03 (^C), 0x11/0x13 and 0xFF come through as sent.
    const SimulatedEcu::Bytes sent = {0xAA, 0x0D, 0x0A, 0x03, 0x11, 0x13, 0xFF, 0x00};
    ecu.SendRaw(sent);
    EXPECT_EQ(8, WaitForBytes(port, 8));
    EXPECT_EQ(3, port.Read(buf, 3));
    EXPECT_EQ(0, port.Ioctl(SERIAL_BYTES_WAITING, &waiting));
    EXPECT_EQ(5, waiting);
    EXPECT_EQ(5, port.Read(buf + 3, sizeof buf - 3));
    EXPECT_EQ(0, std::memcmp(buf, sent.data(), sent.size()));
    EXPECT_EQ(0, port.Read(buf, sizeof buf));

    // And the other way: what the port writes reaches the ECU unchanged.
    const char request[] = {'\xAA', '\x0C', '\x01', '\xB7'};
    EXPECT_EQ(4, port.Write(request, sizeof request));
    ASSERT_TRUE(ecu.WaitForRequest());
    ASSERT_EQ(1u, ecu.Received().size());
    EXPECT_EQ((SimulatedEcu::Bytes{0xAA, 0x0C, 0x01, 0xB7}), ecu.Received()[0]);
}

TEST(SerialPort, BaudRateChangesOnlyToStandardRates)
{
    SimulatedEcu ecu;
    ASSERT_TRUE(ecu.IsOpen());
    wxSerialPort port;
    EXPECT_EQ(-1, port.SetBaudRate(9600)); // not open
    SerialSettings settings = EcuSettings();
    ASSERT_EQ(0, port.Open(ecu.SlavePath().c_str(), &settings));
    EXPECT_EQ(-1, port.SetBaudRate(10000));
    EXPECT_EQ(10000, port.GetBaud());
    EXPECT_EQ(0, port.SetBaudRate(115200));
    EXPECT_EQ(115200, port.GetBaud());
}

TEST(SerialPort, LineControlOnPtyFailsCleanly)
{
    SimulatedEcu ecu;
    ASSERT_TRUE(ecu.IsOpen());
    wxSerialPort port;
    SerialSettings settings = EcuSettings();
    ASSERT_EQ(0, port.Open(ecu.SlavePath().c_str(), &settings));

    EXPECT_EQ(-1, port.ToggleLineState(0));
    EXPECT_EQ(-1, port.SetLineState(LINESTATE_CTS));
    // A pty has no modem lines and no error counters: -1, not a crash.
    const int set = port.SetLineState(LINESTATE_DTR | LINESTATE_RTS);
    EXPECT_TRUE(set == 0 || set == -1);
    const int lines = port.GetLineState();
    EXPECT_TRUE(lines == -1 || (lines & ~(LINESTATE_CTS | LINESTATE_DSR | LINESTATE_RING | LINESTATE_DCD)) == 0);
    int counters[4] = {7, 7, 7, 7};
    EXPECT_EQ(-1, port.Ioctl(SERIAL_ERROR_COUNTERS, counters));
    int flag = 7;
    EXPECT_EQ(-1, port.Ioctl(SERIAL_FRAMING_FLAG, &flag));
    EXPECT_EQ(-1, port.Ioctl(999, nullptr));
    EXPECT_EQ(-1, port.Ioctl(SERIAL_BYTES_WAITING, nullptr));
}

TEST(SerialPort, BreakLastsAtLeastAQuarterSecond)
{
    SimulatedEcu ecu;
    ASSERT_TRUE(ecu.IsOpen());
    wxSerialPort port;
    SerialSettings settings = EcuSettings();
    ASSERT_EQ(0, port.Open(ecu.SlavePath().c_str(), &settings));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(0, port.SendBreak(-3));
    EXPECT_EQ(0, port.Ioctl(SERIAL_SEND_BREAK, nullptr));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
}

TEST(SerialFifo, HoldsTwoHundredFiftyFiveBytes)
{
    SerialFifo fifo;
    char byte = 'x';
    EXPECT_EQ(0, fifo.Get(&byte));
    char data[300];
    for (int i = 0; i < 300; ++i)
        data[i] = static_cast<char>(i);
    EXPECT_EQ(255u, fifo.Write(data, 300));
    EXPECT_EQ(0, fifo.Put('z'));
    EXPECT_EQ(255u, fifo.Items());

    char out[300];
    EXPECT_EQ(10u, fifo.Read(out, 10));
    EXPECT_EQ(0, std::memcmp(out, data, 10));
    // Room again, wrapping round the end of the ring.
    EXPECT_EQ(10u, fifo.Write(data + 255, 20));
    EXPECT_EQ(255u, fifo.Read(out, 300));
    EXPECT_EQ(0, std::memcmp(out, data + 10, 255));
    fifo.Put('a');
    fifo.Clear();
    EXPECT_EQ(0u, fifo.Items());
}

TEST(ReadUntil, StopsAtEndSequenceOutsideQuotes)
{
    ScriptedStream crlf;
    crlf.m_script = {"a\rb", "", "\r\nrest"};
    UntilResult r = RunReadUntil(crlf, "\r\n", 2000);
    EXPECT_EQ(1, r.result);
    EXPECT_EQ("a\rb", r.bytes);
    // The bytes behind the end sequence are left in the stream.
    EXPECT_EQ("rest", crlf.m_script.front());

    ScriptedStream overlap;
    overlap.m_script = {"aab"};
    r = RunReadUntil(overlap, "ab", 2000);
    EXPECT_EQ(1, r.result);
    EXPECT_EQ("a", r.bytes);

    ScriptedStream quoted;
    quoted.m_script = {"x\"a;b\";y;"};
    r = RunReadUntil(quoted, ";", 2000, '"');
    EXPECT_EQ(1, r.result);
    EXPECT_EQ("x\"a;b\"", r.bytes);

    // Longer than the first 512-byte buffer.
    ScriptedStream longLine;
    longLine.m_script = {std::string(1500, 'q') + "\n"};
    r = RunReadUntil(longLine, "\n", 2000);
    EXPECT_EQ(1, r.result);
    EXPECT_EQ(std::string(1500, 'q'), r.bytes);
}

TEST(ReadUntil, TimesOutOrFails)
{
    ScriptedStream silent;
    silent.m_script = {"partial"};
    const auto start = std::chrono::steady_clock::now();
    UntilResult r = RunReadUntil(silent, "\n", 30);
    EXPECT_EQ(0, r.result);
    EXPECT_EQ("partial", r.bytes);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(30));

    ScriptedStream zero;
    r = RunReadUntil(zero, "\n", 0);
    EXPECT_EQ(0, r.result);

    ScriptedStream failing;
    failing.m_script = {"ab", "\x01" "FAIL"};
    r = RunReadUntil(failing, "\n", 2000);
    EXPECT_EQ(-1, r.result);
    EXPECT_EQ("ab", r.bytes);
}

TEST(SerialPort, APortThatCannotBeOpenedSaysWhy)
{
    SimulatedEcu ecu;
    ASSERT_TRUE(ecu.IsOpen());
    const std::string pty = ecu.SlavePath();
    const auto open = [&] {
        SerialSettings settings = EcuSettings();
        return wxSerialPort().Open(pty.c_str(), &settings);
    };
    // Another program holds the port (serial tools take it with flock).
    const int holder = ::open(pty.c_str(), O_RDWR | O_NOCTTY);
    ASSERT_EQ(0, flock(holder, LOCK_EX | LOCK_NB));
    EXPECT_EQ(SERIAL_BUSY, open());
    close(holder);
    EXPECT_EQ(0, open());

    // A user without rights on the device (outside dialout, on Debian); root
    // acts as nobody for it.
    ASSERT_EQ(0, chmod(pty.c_str(), 0));
    const bool asRoot = geteuid() == 0;
    ASSERT_TRUE(!asRoot || seteuid(65534) == 0);
    EXPECT_EQ(SERIAL_ACCESS_DENIED, open());
    ASSERT_TRUE(!asRoot || seteuid(0) == 0);
    // The commonest reason names its remedy.
    const wxString denied = PortOpenErrorText(SERIAL_ACCESS_DENIED, wxString::FromUTF8(pty));
    EXPECT_NE(wxNOT_FOUND, denied.Find("dialout")) << denied;
    EXPECT_NE(wxNOT_FOUND, denied.Find(wxString(L"重新登录"))) << denied;
}
