#include "PosixSerial.h"

#include <cerrno>
#include <chrono>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
// termios2 carries any bit rate (the ECU's 10000 has no B constant). It
// comes from the kernel's header, which cannot share a translation unit with
// <termios.h>; nothing here needs the latter.
#include <asm/termbits.h>
#include <linux/serial.h>

#include "wxIOBase.h"

static_assert(LINESTATE_DTR == TIOCM_DTR && LINESTATE_RTS == TIOCM_RTS && LINESTATE_CTS == TIOCM_CTS
                  && LINESTATE_DCD == TIOCM_CAR && LINESTATE_RING == TIOCM_RNG && LINESTATE_DSR == TIOCM_DSR,
              "line-state bits are the POSIX modem bits");

namespace posixserial
{

namespace
{

// Standard rates keep their constant (older drivers know only these);
// any other rate goes in as BOTHER with the number itself.
tcflag_t SpeedCode(int baud)
{
    switch (baud)
    {
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    case 230400: return B230400;
    case 460800: return B460800;
    case 921600: return B921600;
    default: return BOTHER;
    }
}

void PutSpeed(struct termios2& tio, int baud)
{
    const tcflag_t code = SpeedCode(baud);
    tio.c_cflag &= ~(CBAUD | (CBAUD << IBSHIFT));
    tio.c_cflag |= code | (code << IBSHIFT);
    tio.c_ispeed = static_cast<speed_t>(baud);
    tio.c_ospeed = static_cast<speed_t>(baud);
}

int Control(int fd, unsigned long request, void* arg)
{
    int rc;
    do
        rc = ioctl(fd, request, arg);
    while (rc < 0 && errno == EINTR);
    return rc < 0 ? -1 : rc;
}

} // namespace

int OpenDevice(const char* path)
{
    int fd;
    do
        fd = open(path, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
    {
        switch (errno)
        {
        case ENOENT: case ENODEV: case ENXIO: case ENOTDIR:
            return SERIAL_NO_DEVICE;
        case EACCES: case EPERM: case EROFS:
            return SERIAL_ACCESS_DENIED;
        case EBUSY:
            return SERIAL_BUSY;
        default:
            return SERIAL_OPEN_FAILED;
        }
    }
    // A program that took the port with flock (as serial tools commonly
    // do) holds it, even from root, whom the tty's claim below does not stop.
    if (flock(fd, LOCK_EX | LOCK_NB) < 0 && errno == EWOULDBLOCK)
    {
        close(fd);
        return SERIAL_BUSY;
    }
    // Not shared: a second program opening the port gets EBUSY.
    ioctl(fd, TIOCEXCL);
    return fd;
}

void CloseDevice(int fd)
{
    if (fd < 0)
        return;
    // The claim lives on the tty, not on the descriptor: drop it so that the
    // port can be opened again while some other descriptor keeps it alive.
    ioctl(fd, TIOCNXCL);
    close(fd);
}

int Configure(int fd, const LineSettings& settings)
{
    struct termios2 tio;
    if (Control(fd, TCGETS2, &tio) < 0)
        return -1;

    tio.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF | IXANY | INPCK);
    tio.c_oflag &= ~OPOST;
    tio.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    tio.c_cflag |= CREAD | CLOCAL;

    tio.c_cflag &= ~CSIZE;
    switch (settings.wordLength)
    {
    case 5: tio.c_cflag |= CS5; break;
    case 6: tio.c_cflag |= CS6; break;
    case 7: tio.c_cflag |= CS7; break;
    case 8: tio.c_cflag |= CS8; break;
    default: return -1;
    }

    // Mark and space have no portable setting; they open without parity.
    tio.c_cflag &= ~(PARENB | PARODD);
    if (settings.parity == 1)
        tio.c_cflag |= PARENB | PARODD;
    else if (settings.parity == 2)
        tio.c_cflag |= PARENB;

    if (settings.stopBits == 2)
        tio.c_cflag |= CSTOPB;
    else
        tio.c_cflag &= ~CSTOPB;

    if (settings.rtscts)
        tio.c_cflag |= CRTSCTS;
    else
        tio.c_cflag &= ~CRTSCTS;
    if (settings.xonxoff)
        tio.c_iflag |= IXON | IXOFF;

    if (settings.baud <= 0)
        return -1;
    PutSpeed(tio, settings.baud);

    // Reads return at once with what has arrived.
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    tio.c_cc[VSTART] = 0x11;
    tio.c_cc[VSTOP] = 0x13;

    // Raw-mode flags every tty takes; what a driver refuses is the rate.
    if (Control(fd, TCSETS2, &tio) < 0)
        return errno == EINVAL ? SERIAL_BAUD_REFUSED : -1;
    // Some adapters take any rate and quietly run at the nearest one they
    // can make; a UART frame tolerates about 2 % of difference.
    struct termios2 now;
    if (Control(fd, TCGETS2, &now) == 0 && now.c_ospeed != 0)
    {
        const long asked = settings.baud;
        const long got = static_cast<long>(now.c_ospeed);
        if ((got > asked ? got - asked : asked - got) * 50 > asked)
            return SERIAL_BAUD_REFUSED;
    }
    ioctl(fd, TCFLSH, TCIFLUSH);
    return 0;
}

int SetSpeed(int fd, int baud)
{
    struct termios2 tio;
    if (Control(fd, TCGETS2, &tio) < 0)
        return -1;
    PutSpeed(tio, baud);
    return Control(fd, TCSETS2, &tio) < 0 ? -1 : 0;
}

int ReadSome(int fd, char* buf, std::size_t len)
{
    if (len == 0)
        return 0;
    ssize_t got;
    do
        got = read(fd, buf, len);
    while (got < 0 && errno == EINTR);
    if (got < 0)
        return errno == EAGAIN || errno == EWOULDBLOCK ? 0 : -1;
    return static_cast<int>(got);
}

int WriteAll(int fd, const char* buf, std::size_t len, int timeoutMs)
{
    // One budget for the whole call, however often the queue frees a little.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::size_t done = 0;
    while (done < len)
    {
        const ssize_t put = write(fd, buf + done, len - done);
        if (put > 0)
        {
            done += static_cast<std::size_t>(put);
            continue;
        }
        if (put < 0 && errno == EINTR)
            continue;
        if (put < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            return done > 0 ? static_cast<int>(done) : -1;
        // The driver's output queue is full: wait for room, not forever.
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return done > 0 ? static_cast<int>(done) : -1;
        struct pollfd pfd = {fd, POLLOUT, 0};
        const int ready = poll(&pfd, 1, static_cast<int>(left.count()));
        if (ready <= 0 || (pfd.revents & (POLLERR | POLLHUP | POLLNVAL)))
            return done > 0 ? static_cast<int>(done) : -1;
    }
    return static_cast<int>(done);
}

int BytesWaiting(int fd, int* count)
{
    int n = 0;
    if (Control(fd, FIONREAD, &n) < 0)
        return -1;
    *count = n;
    return 0;
}

int GetModemLines(int fd, int* bits)
{
    int value = 0;
    if (Control(fd, TIOCMGET, &value) < 0)
        return -1;
    *bits = value;
    return 0;
}

int ChangeModemLines(int fd, int bits, bool raise)
{
    return Control(fd, raise ? TIOCMBIS : TIOCMBIC, &bits) < 0 ? -1 : 0;
}

int SetBreak(int fd, bool on)
{
    return Control(fd, on ? TIOCSBRK : TIOCCBRK, nullptr) < 0 ? -1 : 0;
}

int GetErrorTotals(int fd, uint32_t totals[4])
{
    struct serial_icounter_struct counts = {};
    if (Control(fd, TIOCGICOUNT, &counts) < 0)
        return -1;
    totals[0] = static_cast<uint32_t>(counts.brk);
    totals[1] = static_cast<uint32_t>(counts.frame);
    totals[2] = static_cast<uint32_t>(counts.overrun);
    totals[3] = static_cast<uint32_t>(counts.parity);
    return 0;
}

} // namespace posixserial
