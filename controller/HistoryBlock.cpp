#include "HistoryBlock.h"

#include "DateRecord.h"

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

void PutU32LE(std::string& block, std::size_t offset, uint32_t value)
{
    for (std::size_t k = 0; k < 4; ++k)
        block[offset + k] = static_cast<char>((value >> (8 * k)) & 0xFF);
}

void Skip(Kandrel& reader, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
        reader.get_u8();
}

static_assert(HistoryBlock::RecordOffset(HistoryBlock::kRecordCount) == HistoryBlock::kServiceFlagOffset,
              "the records end where the service flag sits");
} // namespace

std::string HistoryBlock::Encode(const uint32_t counters[kCounterCount], const HistoryRecord records[kRecordCount])
{
    std::string block(kSentSize, '\0');
    for (std::size_t i = 0; i < kCounterCount; ++i)
        PutU32LE(block, CounterOffset(i), counters[i]);
    for (std::size_t r = 0; r < kRecordCount; ++r)
    {
        const std::size_t at = RecordOffset(r);
        for (std::size_t k = 0; k < kDateRecordSize; ++k)
            block[at + k] = static_cast<char>(records[r].date[k]);
        PutU32LE(block, at + kDateRecordSize, records[r].value);
    }
    block[kServiceFlagOffset] = counters[kNextServiceCounter] != 0 ? 1 : 0;
    return block;
}

HistoryBlock::HistoryBlock(Kandrel& reader)
{
    for (auto& counter : m_workCounters)
        counter = ReadU32LE(reader);
    Skip(reader, kRecordsOffset - CounterOffset(kCounterCount));
    for (auto& record : m_records)
    {
        for (auto& byte : record.date)
            byte = reader.get_u8();
        record.value = ReadU32LE(reader);
    }
    Skip(reader, kSize - RecordOffset(kRecordCount));
}
