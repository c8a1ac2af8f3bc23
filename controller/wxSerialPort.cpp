#include "wxSerialPort.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

#include "PosixSerial.h"

namespace
{

// Longest wait for room in the driver's output queue. Writes run on the GUI
// thread inside a 50 ms poll tick: a stalled line must not freeze the
// window. What does not fit in time is the caller's to send later.
constexpr int kWriteTimeoutMs = 20;

} // namespace

wxSerialPort::wxSerialPort()
    : m_baud(19200),
      m_parity(0),
      m_wordLength(8),
      m_stopBits(1),
      m_rtscts(0),
      m_xonxoff(0),
      m_devname(),
      m_fd(-1),
      m_errorBase(),
      m_errorCounters(),
      m_lineState(0)
{
}

wxSerialPort::~wxSerialPort()
{
    Close();
}

int wxSerialPort::Close()
{
    if (m_fd >= 0)
    {
        posixserial::CloseDevice(m_fd);
        m_fd = -1;
    }
    return 0;
}

int wxSerialPort::Open(const char* device, SerialSettings* settings)
{
    if (settings)
    {
        m_baud = settings->baud;
        m_parity = settings->parity;
        m_wordLength = settings->wordLength;
        m_stopBits = settings->stopBits;
        m_rtscts = settings->rtscts;
        m_xonxoff = settings->xonxoff;
    }

    // Opening again without a Close would leak the old descriptor.
    Close();

    const int fd = device ? posixserial::OpenDevice(device) : SERIAL_NO_DEVICE;
    if (fd < 0)
        return fd;
    m_fd = fd;

    std::strncpy(m_devname, device, sizeof m_devname - 1);
    m_devname[sizeof m_devname - 1] = '\0';

    const posixserial::LineSettings line = {m_baud, m_parity, m_wordLength, m_stopBits, m_rtscts != 0, m_xonxoff != 0};
    const int configured = posixserial::Configure(m_fd, line);
    if (configured < 0)
        return configured == SERIAL_BAUD_REFUSED ? SERIAL_BAUD_REFUSED : SERIAL_SETTINGS_REFUSED;

    // DTR always on; RTS on unless the handshake drives it. A pty has no
    // modem lines, so a failure here is not a failure to open.
    if (m_rtscts)
    {
        m_lineState = LINESTATE_DTR;
        posixserial::ChangeModemLines(m_fd, LINESTATE_DTR, true);
    }
    else
    {
        m_lineState = LINESTATE_DTR | LINESTATE_RTS;
        posixserial::ChangeModemLines(m_fd, LINESTATE_DTR | LINESTATE_RTS, true);
    }

    std::memset(m_errorCounters, 0, sizeof m_errorCounters);
    if (posixserial::GetErrorTotals(m_fd, m_errorBase) < 0)
        std::memset(m_errorBase, 0, sizeof m_errorBase);
    return 0;
}

const char* wxSerialPort::ClassName()
{
    return "wxSerialPort";
}

bool wxSerialPort::IsOpen()
{
    return m_fd >= 0;
}

int wxSerialPort::Read(char* buf, std::size_t len)
{
    const std::size_t fromFifo = m_fifo->Read(buf, len);
    if (m_fd < 0)
        return fromFifo > 0 ? static_cast<int>(fromFifo) : -1;
    // Non-blocking: the read is complete when it returns, so no transfer
    // can still be running into buf after the caller has let go of it.
    const int got = posixserial::ReadSome(m_fd, buf + fromFifo, len - fromFifo);
    if (got < 0)
        return -1;
    return static_cast<int>(fromFifo) + got;
}

int wxSerialPort::Write(const char* buf, std::size_t len)
{
    if (m_fd < 0)
        return -1;
    if (len == 0)
        return 0;
    return posixserial::WriteAll(m_fd, buf, len, kWriteTimeoutMs);
}

int wxSerialPort::ReadErrorFlags(int flags[4])
{
    if (m_fd < 0)
        return -1;
    uint32_t totals[4];
    if (posixserial::GetErrorTotals(m_fd, totals) < 0)
        return -1;
    // The driver keeps running totals; an error is "flagged" when its total
    // rose since the last look, and looking clears every flag.
    for (int i = 0; i < 4; ++i)
    {
        flags[i] = totals[i] != m_errorBase[i] ? 1 : 0;
        m_errorCounters[i] += static_cast<uint32_t>(flags[i]);
        m_errorBase[i] = totals[i];
    }
    return 0;
}

int wxSerialPort::Ioctl(int code, void* arg)
{
    switch (code)
    {
    case SERIAL_SEND_BREAK:
        return SendBreak(0);
    case SERIAL_ERROR_COUNTERS:
    {
        int flags[4];
        if (!arg || ReadErrorFlags(flags) < 0)
            return -1;
        int* out = static_cast<int*>(arg);
        for (int i = 0; i < 4; ++i)
            out[i] = static_cast<int>(m_errorCounters[i]);
        return 0;
    }
    case SERIAL_BREAK_FLAG:
    case SERIAL_FRAMING_FLAG:
    case SERIAL_OVERRUN_FLAG:
    case SERIAL_PARITY_FLAG:
    {
        int flags[4];
        if (!arg || ReadErrorFlags(flags) < 0)
            return -1;
        *static_cast<int*>(arg) = flags[code - SERIAL_BREAK_FLAG];
        return 0;
    }
    case SERIAL_BYTES_WAITING:
    {
        int count = 0;
        if (!arg || m_fd < 0 || posixserial::BytesWaiting(m_fd, &count) < 0)
            return -1;
        *static_cast<int*>(arg) = count;
        return 0;
    }
    default:
        return -1;
    }
}

int wxSerialPort::ChangeLines(int mask, int how)
{
    // how: 1 raise, 0 lower, -1 flip. Bits follow the request even when the
    // driver refuses (a pty has no modem lines).
    int result = -1;
    const int lines[2] = {LINESTATE_DTR, LINESTATE_RTS};
    for (int line : lines)
    {
        if (!(mask & line))
            continue;
        const bool raise = how == 1 || (how == -1 && !(m_lineState & line));
        result = m_fd >= 0 ? posixserial::ChangeModemLines(m_fd, line, raise) : -1;
        if (raise)
            m_lineState |= line;
        else
            m_lineState &= ~line;
    }
    return result;
}

int wxSerialPort::SetLineState(int mask)
{
    return ChangeLines(mask, 1);
}

int wxSerialPort::ClearLineState(int mask)
{
    return ChangeLines(mask, 0);
}

int wxSerialPort::ToggleLineState(int mask)
{
    return ChangeLines(mask, -1);
}

int wxSerialPort::GetLineState()
{
    int bits = 0;
    if (m_fd < 0 || posixserial::GetModemLines(m_fd, &bits) < 0)
        return -1;
    return bits & (LINESTATE_CTS | LINESTATE_DSR | LINESTATE_RING | LINESTATE_DCD);
}

int wxSerialPort::GetSettingsString(char* buf, std::size_t len)
{
    static const char kParity[] = "NOEMS";
    const char letter = m_parity >= 0 && m_parity <= 4 ? kParity[m_parity] : '?';
    return std::snprintf(buf, len, "%i%c%i %i %s", m_wordLength, letter, m_stopBits, m_baud, m_devname);
}

int wxSerialPort::SendBreak(int duration)
{
    if (duration < 1)
        duration = 1;
    if (m_fd < 0 || posixserial::SetBreak(m_fd, true) < 0)
        return -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(250 * duration));
    return posixserial::SetBreak(m_fd, false) < 0 ? -1 : 0;
}

int wxSerialPort::SetBaudRate(int baud)
{
    switch (baud)
    {
    case 1200: case 2400: case 4800: case 9600: case 19200: case 38400:
    case 57600: case 115200: case 230400: case 460800: case 921600:
        break;
    default:
        return -1;
    }
    if (m_fd < 0 || posixserial::SetSpeed(m_fd, baud) < 0)
        return -1;
    m_baud = baud;
    return 0;
}
