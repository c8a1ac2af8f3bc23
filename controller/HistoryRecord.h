#ifndef QUENVAR_HISTORYRECORD_H
#define QUENVAR_HISTORYRECORD_H

#include <cstdint>

// One dated record of the counters-and-history block: year low, year high,
// month, day, hour, minute, second; then a 32-bit value.
struct HistoryRecord
{
    unsigned char date[7];
    uint32_t value;
};

#endif
