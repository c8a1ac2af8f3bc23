#ifndef QUENVAR_WXSERIALPORT_H
#define QUENVAR_WXSERIALPORT_H

#include <cstdint>

#include "wxIOBase.h"

// A serial port (any tty: a UART, a USB adapter, a pseudo-terminal).
// Opened non-blocking in raw mode; reads return at once with what arrived.
class wxSerialPort : public wxIOBase
{
public:
    wxSerialPort();
    ~wxSerialPort() override;

    // Always 0.
    int Close() override;
    // 0 or a SerialOpenError: the device cannot be opened (and why), or its
    // settings or rate are refused (the device then stays open until Close).
    int Open(const char* device, SerialSettings* settings) override;
    const char* ClassName() override;
    int Ioctl(int code, void* arg) override;
    bool IsOpen() override;
    int Read(char* buf, std::size_t len) override;
    int Write(const char* buf, std::size_t len) override;

    // Flips DTR and/or RTS as named in mask; 0 or -1.
    virtual int ToggleLineState(int mask);
    // Lowers DTR and/or RTS; 0 or -1.
    virtual int ClearLineState(int mask);
    // CTS, DSR, RING, DCD as line-state bits, or -1.
    virtual int GetLineState();
    // "8N1 10000 /dev/ttyUSB0" style summary into buf; snprintf's result.
    virtual int GetSettingsString(char* buf, std::size_t len);
    // Holds a break for duration x 250 ms (at least once); 0 or -1.
    virtual int SendBreak(int duration);
    // Changes the rate of an open port to a standard rate; 0 or -1.
    virtual int SetBaudRate(int baud);
    // Raises DTR and/or RTS; 0 or -1.
    virtual int SetLineState(int mask);

    int GetBaud() const { return m_baud; }
    const char* GetDeviceName() const { return m_devname; }

private:
    int ReadErrorFlags(int flags[4]);
    int ChangeLines(int mask, int how);

    int m_baud;
    int m_parity;
    unsigned char m_wordLength;
    unsigned char m_stopBits;
    unsigned char m_rtscts;
    unsigned char m_xonxoff;
    char m_devname[32];
    int m_fd;
    // Error totals seen at the last error-state read; a rise means "flagged".
    uint32_t m_errorBase[4];
    uint32_t m_errorCounters[4]; // break, framing, overrun, parity
    int m_lineState;
};

#endif
