#ifndef KANDREL_H
#define KANDREL_H

// Forward-only cursor over a caller-owned byte buffer. It holds no length:
// callers size the buffer before reading (every decoder reads a fixed count
// that fits the frame it was given).

#if defined(KANDREL_BUILDING)
#define KANDREL_API __attribute__((visibility("default")))
#else
#define KANDREL_API
#endif

class KANDREL_API Kandrel
{
public:
    // Starts the cursor at data; the buffer must outlive every read.
    explicit Kandrel(const unsigned char* data);

    // One byte as unsigned.
    unsigned char get_u8();
    // One byte as signed (0xF6 reads as -10).
    signed char get_s8();
    // Two bytes, first byte high.
    unsigned short get_u16();
    // Two bytes, first byte low.
    unsigned short get_u16l();
    // Four bytes, first byte highest.
    unsigned int get_u32();

private:
    const unsigned char* m_cursor;
};

#endif
