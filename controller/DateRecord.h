#ifndef QUENVAR_DATERECORD_H
#define QUENVAR_DATERECORD_H

class wxDateTime;

// Bytes of a history record's date: year low, year high, month 1..12, day,
// hour, minute, second.
constexpr int kDateRecordSize = 7;

// The current local time as a history date.
void MakeDateRecord(unsigned char out[kDateRecordSize]);
// The given local time as a history date.
void MakeDateRecord(unsigned char out[kDateRecordSize], const wxDateTime& when);

#endif
