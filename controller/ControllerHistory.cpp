// The counters-and-history block (CMD_WRITE_HISTORY): the five work counters
// and the nine dated records go back to the ECU as the last parameter frame
// brought them, with the modification records stamped once per link reset.
#include "Controller.h"

#include <cstddef>
#include <string>

#include <wx/datetime.h>

#include "DateRecord.h"
#include "WireScaling.h"

namespace
{

constexpr std::size_t kHistoryBlockSize = 254;
constexpr std::size_t kCountersOffset = 0;
constexpr std::size_t kRecordsOffset = 42;
constexpr std::size_t kRecordSize = 11;
// 1 when a next-service mark is set; the ECU does not send it back.
constexpr std::size_t kServiceFlagOffset = 141;

constexpr int kNextServiceCounter = 4;
constexpr int kLastModificationRecord = 1;
// Records 4..7 keep the dates of the last four stamps, newest first.
constexpr int kNewestStampRecord = 4;
constexpr int kOldestStampRecord = 7;

constexpr double kHalfSecondsPerHour = 7200.0;

void PutU32LowFirst(std::string& block, std::size_t offset, uint32_t value)
{
    for (std::size_t k = 0; k < 4; ++k)
        block[offset + k] = static_cast<char>((value >> (8 * k)) & 0xFF);
}

} // namespace

void MakeDateRecord(unsigned char out[kDateRecordSize], const wxDateTime& when)
{
    const wxDateTime::Tm tm = when.GetTm(wxDateTime::Local);
    out[0] = static_cast<unsigned char>(tm.year & 0xFF);
    out[1] = static_cast<unsigned char>((tm.year >> 8) & 0xFF);
    out[2] = static_cast<unsigned char>(tm.mon - wxDateTime::Jan + 1);
    out[3] = static_cast<unsigned char>(tm.mday);
    out[4] = static_cast<unsigned char>(tm.hour);
    out[5] = static_cast<unsigned char>(tm.min);
    out[6] = static_cast<unsigned char>(tm.sec);
}

void MakeDateRecord(unsigned char out[kDateRecordSize])
{
    MakeDateRecord(out, wxDateTime::Now());
}

void Controller::StampHistory()
{
    if (m_historyStamped)
        return;
    m_historyStamped = 1;

    MakeDateRecord(m_historyRecords[kLastModificationRecord].date);
    for (int k = kOldestStampRecord; k > kNewestStampRecord; --k)
        m_historyRecords[k] = m_historyRecords[k - 1];
    // Record 4 keeps its value, so records 4 and 5 now share it.
    MakeDateRecord(m_historyRecords[kNewestStampRecord].date);
}

void Controller::SendHistoryBlock()
{
    // Without a parameter frame the counters and records are not the ECU's;
    // sending them would overwrite its history with zeros.
    if (!m_parametersApplied)
        return;
    StampHistory();

    std::string block(kHistoryBlockSize, '\0');
    for (std::size_t i = 0; i < 5; ++i)
        PutU32LowFirst(block, kCountersOffset + 4 * i, m_workCounters[i]);
    for (std::size_t r = 0; r < 9; ++r)
    {
        const std::size_t at = kRecordsOffset + r * kRecordSize;
        const HistoryRecord& record = m_historyRecords[r];
        for (std::size_t k = 0; k < kDateRecordSize; ++k)
            block[at + k] = static_cast<char>(record.date[k]);
        PutU32LowFirst(block, at + kDateRecordSize, record.value);
    }
    block[kServiceFlagOffset] = m_workCounters[kNextServiceCounter] != 0 ? 1 : 0;

    m_request.Build(CMD_WRITE_HISTORY, block);
    QueueRequest();
}

void Controller::SetServiceInterval(double hours)
{
    m_workCounters[kNextServiceCounter] = ScaledCounter(hours, kHalfSecondsPerHour);
    SendHistoryBlock();
}
