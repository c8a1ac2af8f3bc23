#include "HistoryBlock.h"

namespace
{
// The block's 32-bit values travel low byte first; the reader's own u32 is
// big-endian.
uint32_t ReadU32LE(Kandrel& reader)
{
    uint32_t value = 0;
    for (int shift = 0; shift < 32; shift += 8)
        value |= static_cast<uint32_t>(reader.get_u8()) << shift;
    return value;
}

void Skip(Kandrel& reader, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
        reader.get_u8();
}

constexpr std::size_t kUnusedAfterCounters = 22;
// The block ends with 113 unused bytes and one more.
constexpr std::size_t kUnusedTail = 113 + 1;
} // namespace

HistoryBlock::HistoryBlock(Kandrel& reader)
{
    for (auto& counter : m_workCounters)
        counter = ReadU32LE(reader);
    Skip(reader, kUnusedAfterCounters);
    for (auto& record : m_records)
    {
        for (auto& byte : record.date)
            byte = reader.get_u8();
        record.value = ReadU32LE(reader);
    }
    Skip(reader, kUnusedTail);
}
