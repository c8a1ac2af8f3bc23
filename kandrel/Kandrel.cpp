#include "Kandrel.h"

Kandrel::Kandrel(const unsigned char* data)
    : m_cursor(data)
{
}

unsigned char Kandrel::get_u8()
{
    return *m_cursor++;
}

signed char Kandrel::get_s8()
{
    return static_cast<signed char>(get_u8());
}

unsigned short Kandrel::get_u16()
{
    const unsigned b0 = get_u8();
    const unsigned b1 = get_u8();
    return static_cast<unsigned short>((b0 << 8) | b1);
}

unsigned short Kandrel::get_u16l()
{
    const unsigned b0 = get_u8();
    const unsigned b1 = get_u8();
    return static_cast<unsigned short>((b1 << 8) | b0);
}

unsigned int Kandrel::get_u32()
{
    unsigned int value = 0;
    for (int i = 0; i < 4; ++i)
        value = (value << 8) | get_u8();
    return value;
}
