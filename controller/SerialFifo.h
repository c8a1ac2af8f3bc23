#ifndef QUENVAR_SERIALFIFO_H
#define QUENVAR_SERIALFIFO_H

#include <cstddef>

// Put-back store of a serial stream: a ring of 256 bytes of which 255 can
// be filled (one slot stays free to tell full from empty).
class SerialFifo
{
public:
    static constexpr std::size_t kSize = 256;

    // Empties the ring.
    void Clear();
    // Takes one byte: 1 and the byte, or 0 when empty.
    int Get(char* byte);
    // Stores one byte: 1, or 0 when full.
    int Put(char byte);
    // Takes up to n bytes into buf; returns the count taken.
    std::size_t Read(char* buf, std::size_t n);
    // Stores up to n bytes from buf; returns the count stored.
    std::size_t Write(const char* buf, std::size_t n);
    // Bytes held.
    std::size_t Items() const;

private:
    char m_data[kSize] = {};
    std::size_t m_readPos = 0;
    std::size_t m_writePos = 0;
};

#endif
