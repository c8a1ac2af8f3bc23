#ifndef QUENVAR_POSIXSERIAL_H
#define QUENVAR_POSIXSERIAL_H

#include <cstddef>
#include <cstdint>

// The operating-system side of wxSerialPort: every call into the tty driver
// lives in PosixSerial.cpp. Results: 0 or a count on success, -1 on failure.
namespace posixserial
{

struct LineSettings
{
    int baud;
    int parity;      // 1 odd, 2 even, anything else none
    int wordLength;  // 5..8
    int stopBits;    // 2 two, anything else one
    bool rtscts;
    bool xonxoff;
};

// Opens an existing device read/write, non-blocking, not as the controlling
// terminal, and claims it exclusively; the descriptor, or the SerialOpenError
// that says why not.
int OpenDevice(const char* path);
// Releases the exclusive claim and closes.
void CloseDevice(int fd);
// Raw mode with the given line settings; reads return at once. Drops input
// that arrived before. SERIAL_BAUD_REFUSED when the driver refuses the rate
// or runs at another.
int Configure(int fd, const LineSettings& settings);
// Changes only the rate.
int SetSpeed(int fd, int baud);
// Takes what has arrived, up to len; 0 when nothing is there.
int ReadSome(int fd, char* buf, std::size_t len);
// Writes all of buf, waiting for room at most timeoutMs in all; the count
// written (less than len when the time ran out), -1 when nothing could be
// written.
int WriteAll(int fd, const char* buf, std::size_t len, int timeoutMs);
// Bytes in the driver's input queue.
int BytesWaiting(int fd, int* count);
// Modem lines as POSIX modem bits.
int GetModemLines(int fd, int* bits);
// Raises (raise) or lowers the lines named in bits.
int ChangeModemLines(int fd, int bits, bool raise);
// Starts or ends a break.
int SetBreak(int fd, bool on);
// Totals since the driver started: break, framing, overrun, parity.
// -1 where the driver keeps none (ptys, some USB adapters).
int GetErrorTotals(int fd, uint32_t totals[4]);

} // namespace posixserial

#endif
