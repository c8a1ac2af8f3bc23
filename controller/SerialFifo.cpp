#include "SerialFifo.h"

void SerialFifo::Clear()
{
    m_readPos = 0;
    m_writePos = 0;
}

int SerialFifo::Get(char* byte)
{
    if (m_readPos == m_writePos)
        return 0;
    *byte = m_data[m_readPos];
    m_readPos = (m_readPos + 1) % kSize;
    return 1;
}

int SerialFifo::Put(char byte)
{
    const std::size_t next = (m_writePos + 1) % kSize;
    if (next == m_readPos)
        return 0;
    m_data[m_writePos] = byte;
    m_writePos = next;
    return 1;
}

std::size_t SerialFifo::Read(char* buf, std::size_t n)
{
    std::size_t taken = 0;
    while (taken < n && Get(buf + taken))
        ++taken;
    return taken;
}

std::size_t SerialFifo::Write(const char* buf, std::size_t n)
{
    std::size_t stored = 0;
    while (stored < n && Put(buf[stored]))
        ++stored;
    return stored;
}

std::size_t SerialFifo::Items() const
{
    return (m_writePos + kSize - m_readPos) % kSize;
}
