// The counters-and-history block (CMD_WRITE_HISTORY): the five work counters
// and the nine dated records go back to the ECU as the last parameter frame
// brought them, with the modification records stamped once per link reset.
#include "Controller.h"

#include <wx/datetime.h>

#include "DateRecord.h"
#include "HistoryBlock.h"
#include "WireScaling.h"

namespace
{

constexpr int kLastModificationRecord = 1;
// Records 4..7 keep the dates of the last four stamps, newest first.
constexpr int kNewestStampRecord = 4;
constexpr int kOldestStampRecord = 7;

constexpr double kHalfSecondsPerHour = 7200.0;

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

    m_request.Build(CMD_WRITE_HISTORY, HistoryBlock::Encode(m_workCounters, m_historyRecords));
    QueueRequest();
}

void Controller::SetServiceInterval(double hours)
{
    m_workCounters[HistoryBlock::kNextServiceCounter] = ScaledCounter(hours, kHalfSecondsPerHour);
    SendHistoryBlock();
}
