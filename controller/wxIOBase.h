#ifndef QUENVAR_WXIOBASE_H
#define QUENVAR_WXIOBASE_H

#include <cstddef>
#include <memory>

#include "SerialFifo.h"

// Settings handed to wxIOBase::Open.
struct SerialSettings
{
    int baud;                 // bits per second
    int parity;               // 0 none, 1 odd, 2 even, 3 mark, 4 space
    unsigned char wordLength; // data bits
    unsigned char stopBits;   // 1 or 2
    unsigned char rtscts;     // hardware handshake when non-zero
    unsigned char xonxoff;    // software handshake when non-zero
};

// Codes of wxIOBase::Ioctl.
enum SerialControlCode
{
    SERIAL_SEND_BREAK = 0,         // no argument: a break of 250 ms
    SERIAL_ERROR_COUNTERS = 256,   // int[4] out: break, framing, overrun, parity counters
    SERIAL_BREAK_FLAG = 257,       // int out: a break was flagged
    SERIAL_FRAMING_FLAG = 258,     // int out: a framing error was flagged
    SERIAL_OVERRUN_FLAG = 259,     // int out: an overrun was flagged
    SERIAL_PARITY_FLAG = 260,      // int out: a parity error was flagged
    SERIAL_BYTES_WAITING = 261     // int out: bytes in the driver's input queue
};

// Results of wxIOBase::Open other than 0. A port that cannot be opened must
// say why: the user's remedy differs for each.
enum SerialOpenError
{
    SERIAL_OPEN_FAILED = -1,      // cannot be opened, for a reason not below
    SERIAL_SETTINGS_REFUSED = -2, // opened, but the line settings were refused
    SERIAL_NO_DEVICE = -7,        // no such device (unplugged, wrong name)
    SERIAL_ACCESS_DENIED = -8,    // the user may not open it
    SERIAL_BUSY = -9,             // another program holds it
    SERIAL_BAUD_REFUSED = -10     // the adapter refuses the bit rate
};

// Modem-control lines (same values as the POSIX modem bits).
enum SerialLineState
{
    LINESTATE_DTR = 0x002,
    LINESTATE_RTS = 0x004,
    LINESTATE_CTS = 0x020,
    LINESTATE_DCD = 0x040,
    LINESTATE_RING = 0x080,
    LINESTATE_DSR = 0x100
};

// An abstract byte stream. Results: 0 or a count on success, negative on
// failure.
class wxIOBase
{
public:
    wxIOBase();
    virtual ~wxIOBase();
    wxIOBase(const wxIOBase&) = delete;
    wxIOBase& operator=(const wxIOBase&) = delete;

    // Closes the device; always 0.
    virtual int Close() = 0;
    // Opens device with settings (null keeps the current ones); 0 or negative.
    virtual int Open(const char* device, SerialSettings* settings) = 0;
    // Class name for diagnostics.
    virtual const char* ClassName();
    // Device control by code (SerialControlCode); -1 for an unknown code.
    virtual int Ioctl(int code, void* arg);
    // The device is open.
    virtual bool IsOpen() = 0;
    // Reads what has arrived, at most len bytes, without waiting; count or -1.
    virtual int Read(char* buf, std::size_t len) = 0;
    // Reads until eos has arrived outside quotes (1), the time is up (0) or a
    // read fails (-1). *buf receives a NUL-terminated buffer allocated with
    // new[] that the caller deletes[] (in every case), *len its length.
    virtual int ReadUntil(char** buf, std::size_t* len, const char* eos, unsigned timeout_ms, char quote);
    // Writes len bytes, waiting for room only briefly; the count written
    // (fewer when the output queue stayed full) or -1.
    virtual int Write(const char* buf, std::size_t len) = 0;

protected:
    std::unique_ptr<SerialFifo> m_fifo;
};

#endif
