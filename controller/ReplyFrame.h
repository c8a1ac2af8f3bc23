#ifndef QUENVAR_REPLYFRAME_H
#define QUENVAR_REPLYFRAME_H

#include <array>
#include <cstddef>

#include "FrameSum.h"

// Wraps a payload into a reply frame as the ECU sends it: 0xAA, the whole
// frame's length high byte first, the command, the payload and the 8-bit sum
// of everything before it.
template <std::size_t N>
std::array<unsigned char, N + 5> WrapReplyFrame(unsigned char command,
                                                const std::array<unsigned char, N>& payload)
{
    static_assert(N + 5 <= 0xFFFF, "reply length is 16 bits");
    std::array<unsigned char, N + 5> frame{};
    frame[0] = 0xAA;
    frame[1] = static_cast<unsigned char>((N + 5) >> 8);
    frame[2] = static_cast<unsigned char>(N + 5);
    frame[3] = command;
    for (std::size_t i = 0; i < N; ++i)
        frame[4 + i] = payload[i];
    frame[N + 4] = FrameSum(frame.data(), N + 4);
    return frame;
}

#endif
