#ifndef QUENVAR_REPLYFRAME_H
#define QUENVAR_REPLYFRAME_H

#include <array>
#include <cstddef>
#include <vector>

#include "FrameSum.h"

// Writes a reply frame as the ECU sends it into out (count + 5 bytes): 0xAA,
// the whole frame's length high byte first, the command, the payload and the
// 8-bit sum of everything before it.
inline void WriteReplyFrame(unsigned char command, const unsigned char* payload, std::size_t count,
                            unsigned char* out)
{
    const std::size_t length = count + 5;
    out[0] = 0xAA;
    out[1] = static_cast<unsigned char>(length >> 8);
    out[2] = static_cast<unsigned char>(length);
    out[3] = command;
    for (std::size_t i = 0; i < count; ++i)
        out[4 + i] = payload[i];
    out[count + 4] = FrameSum(out, count + 4);
}

template <std::size_t N>
std::array<unsigned char, N + 5> WrapReplyFrame(unsigned char command,
                                                const std::array<unsigned char, N>& payload)
{
    static_assert(N + 5 <= 0xFFFF, "reply length is 16 bits");
    std::array<unsigned char, N + 5> frame{};
    WriteReplyFrame(command, payload.data(), N, frame.data());
    return frame;
}

inline std::vector<unsigned char> WrapReplyFrame(unsigned char command,
                                                 const std::vector<unsigned char>& payload)
{
    std::vector<unsigned char> frame(payload.size() + 5);
    WriteReplyFrame(command, payload.data(), payload.size(), frame.data());
    return frame;
}

#endif
