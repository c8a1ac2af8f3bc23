#ifndef QUENVAR_HISTORYBLOCK_H
#define QUENVAR_HISTORYBLOCK_H

#include <cstddef>
#include <cstdint>
#include <string>

#include "HistoryRecord.h"
#include "Kandrel.h"

// The counters-and-history block: five work counters and nine dated
// records. The ECU sends it inside the parameter frame (255 bytes from
// payload byte 611) and takes it back with CMD_WRITE_HISTORY (254 bytes).
// Counters and record values travel low byte first.
class HistoryBlock
{
public:
    static constexpr std::size_t kPayloadOffset = 611; // in the parameter payload
    static constexpr std::size_t kSize = 255;          // as read back
    static constexpr std::size_t kSentSize = 254;      // as sent
    static constexpr std::size_t kCounterCount = 5;
    // Counter 4 holds the next service (0 = none set).
    static constexpr std::size_t kNextServiceCounter = 4;
    static constexpr std::size_t kRecordCount = 9;
    static constexpr std::size_t kRecordsOffset = 42;
    static constexpr std::size_t kRecordSize = 11;     // 7 date bytes, 4 value bytes
    // 1 when a next service is set; sent only, the ECU does not return it.
    static constexpr std::size_t kServiceFlagOffset = 141;

    static constexpr std::size_t CounterOffset(std::size_t counter) { return 4 * counter; }
    static constexpr std::size_t RecordOffset(std::size_t record) { return kRecordsOffset + kRecordSize * record; }

    // The block as sent, from the controller's counters and records.
    static std::string Encode(const uint32_t counters[kCounterCount], const HistoryRecord records[kRecordCount]);

    // Reads the whole block and leaves the reader just behind it.
    explicit HistoryBlock(Kandrel& reader);

    uint32_t m_workCounters[kCounterCount] = {};     // half-seconds
    HistoryRecord m_records[kRecordCount] = {};
};

#endif
