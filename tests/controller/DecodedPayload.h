#ifndef QUENVAR_TESTS_DECODEDPAYLOAD_H
#define QUENVAR_TESTS_DECODEDPAYLOAD_H

#include <vector>
#include <wx/string.h>

namespace decodetest
{

inline wxString U(const char* utf8)
{
    return wxString::FromUTF8(utf8);
}

// Decodes from a heap buffer of exactly the payload's size, so a read past
// the payload shows up under the address sanitizer.
template <class Packet, class Builder>
struct Decoded
{
    explicit Decoded(const Builder& builder)
        : bytes(builder.Payload().begin(), builder.Payload().end()), packet(bytes.data())
    {
    }
    std::vector<unsigned char> bytes;
    Packet packet;
};

}

#endif
