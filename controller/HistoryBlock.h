#ifndef QUENVAR_HISTORYBLOCK_H
#define QUENVAR_HISTORYBLOCK_H

#include <cstddef>
#include <cstdint>

#include "HistoryRecord.h"
#include "Kandrel.h"

// The counters-and-history block as the parameter frame carries it back
// (255 bytes from payload byte 611): five work counters and nine records.
class HistoryBlock
{
public:
    static constexpr std::size_t kSize = 255;
    static constexpr std::size_t kCounterCount = 5;
    static constexpr std::size_t kRecordCount = 9;

    // Reads the whole block and leaves the reader just behind it.
    explicit HistoryBlock(Kandrel& reader);

    uint32_t m_workCounters[kCounterCount] = {};     // half-seconds
    HistoryRecord m_records[kRecordCount] = {};
};

#endif
