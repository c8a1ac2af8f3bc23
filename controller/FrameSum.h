#ifndef QUENVAR_FRAMESUM_H
#define QUENVAR_FRAMESUM_H

#include <cstddef>

// The protocol's 8-bit sum: all bytes added, modulo 256. Requests end with
// the sum of everything before it, and so do replies.
inline unsigned char FrameSum(const unsigned char* bytes, std::size_t count, unsigned char start = 0)
{
    unsigned int sum = start;
    for (std::size_t i = 0; i < count; ++i)
        sum += bytes[i];
    return static_cast<unsigned char>(sum);
}

#endif
