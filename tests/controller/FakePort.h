#ifndef QUENVAR_TESTS_FAKEPORT_H
#define QUENVAR_TESTS_FAKEPORT_H

#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "wxIOBase.h"

// A port without a device: bytes put into m_incoming are what has
// "arrived"; every Write is recorded. For tests of the controller's logic;
// the integration tests use the real serial port on a pty.
class FakePort : public wxIOBase
{
public:
    int Close() override
    {
        m_open = false;
        return 0;
    }
    int Open(const char*, SerialSettings*) override
    {
        m_open = true;
        return m_openResult;
    }
    int Ioctl(int code, void* arg) override
    {
        if (code != SERIAL_BYTES_WAITING || m_failWaiting)
            return -1;
        *static_cast<int*>(arg) = m_reportWaiting >= 0 ? m_reportWaiting : static_cast<int>(m_incoming.size());
        return 0;
    }
    bool IsOpen() override { return m_open; }
    int Read(char* buf, std::size_t len) override
    {
        ++m_reads;
        if (m_failRead)
            return -1;
        std::size_t n = 0;
        while (n < len && !m_incoming.empty())
        {
            buf[n++] = static_cast<char>(m_incoming.front());
            m_incoming.pop_front();
        }
        return static_cast<int>(n);
    }
    int Write(const char* buf, std::size_t len) override
    {
        m_written.emplace_back(buf, len);
        return static_cast<int>(len);
    }

    void Arrive(const std::vector<unsigned char>& bytes) { m_incoming.insert(m_incoming.end(), bytes.begin(), bytes.end()); }

    std::deque<unsigned char> m_incoming;
    std::vector<std::string> m_written;
    bool m_open = true;
    int m_openResult = 0; // a failure after the device opened: the settings refused
    bool m_failWaiting = false;
    bool m_failRead = false;
    int m_reportWaiting = -1; // >= 0: the count the driver claims
    int m_reads = 0;
};

#endif
