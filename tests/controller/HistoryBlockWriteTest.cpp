// The counters-and-history block as sent (CMD_WRITE_HISTORY), the service
// interval, the once-per-reset stamp and the date bytes.
#include <gtest/gtest.h>

#include <array>
#include <tuple>

#include <wx/datetime.h>

#include "CommandTestSupport.h"
#include "Controller.h"
#include "DateRecord.h"
#include "HistoryBlock.h"
#include "Kandrel.h"

using cmdtest::Bytes;
using cmdtest::DataOf;
using cmdtest::QueuedFrames;

namespace
{

constexpr std::size_t kRecordsAt = 42;
constexpr std::size_t kRecordSize = 11;

// The data bytes of the one queued history block.
Bytes QueuedHistoryBlock(const Controller& c)
{
    for (const Bytes& frame : QueuedFrames(c))
        if (frame.size() > 1 && frame[1] == CMD_WRITE_HISTORY)
            return DataOf(frame);
    return {};
}

// Decodes a block sent as the ECU sends it back (one byte longer).
HistoryBlock ReadBack(const Bytes& sent)
{
    Bytes readBack = sent;
    readBack.resize(HistoryBlock::kSize, 0);
    Kandrel reader(readBack.data());
    return HistoryBlock(reader);
}

using DateKey = std::tuple<int, int, int, int, int, int>;

DateKey KeyOf(const unsigned char* d)
{
    return DateKey(d[0] | (d[1] << 8), d[2], d[3], d[4], d[5], d[6]);
}

} // namespace

TEST(HistoryBlockWriteTest, NothingIsSentBeforeAParameterFrameWasApplied)
{
    Controller c;
    c.SendHistoryBlock();
    EXPECT_TRUE(c.m_requestQueue.empty());
    // The service interval is kept, but waits for the ECU's own counters.
    c.SetServiceInterval(100);
    EXPECT_TRUE(c.m_requestQueue.empty());
    EXPECT_EQ(c.GetWorkCounter(4), 720000u);
    EXPECT_EQ(c.m_historyStamped, 0);
}

TEST(HistoryBlockWriteTest, ServiceIntervalSetsCounterFourAndTheFlag)
{
    Controller c;
    c.m_parametersApplied = 1;
    c.SetServiceInterval(100);
    EXPECT_EQ(c.GetWorkCounter(4), 720000u);
    const Bytes block = QueuedHistoryBlock(c);
    ASSERT_EQ(block.size(), 254u);
    EXPECT_EQ(Bytes(block.begin() + 16, block.begin() + 20), (Bytes{0x80, 0xFC, 0x0A, 0x00}));
    EXPECT_EQ(block[141], 1);

    // Switched off again: counter 0, flag 0; the new block replaces the old.
    c.SetServiceInterval(0);
    EXPECT_EQ(QueuedFrames(c).size(), 1u);
    const Bytes off = QueuedHistoryBlock(c);
    EXPECT_EQ(Bytes(off.begin() + 16, off.begin() + 20), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(off[141], 0);

    // The service dialog's hours carry binary noise: one hour of engine time
    // plus 1000 km at 50 km/h must still be 21 whole hours.
    c.SetServiceInterval((7200 / 2) * 0.0002777777777777778 + 1000 * 0.02);
    EXPECT_EQ(c.GetWorkCounter(4), 7200u + 144000u);
    // Nonsense stays within the counter.
    c.SetServiceInterval(-3);
    EXPECT_EQ(c.GetWorkCounter(4), 0u);
    c.SetServiceInterval(1e12);
    EXPECT_EQ(c.GetWorkCounter(4), 0xFFFFFFFFu);
}

TEST(HistoryBlockWriteTest, LayoutAndByteOrderSurviveARoundTrip)
{
    Controller c;
    c.m_parametersApplied = 1;
    c.m_historyStamped = 1; // keep the records as they are
    c.m_workCounters[0] = 1782;
    c.m_workCounters[1] = 0x01020304;
    c.m_workCounters[3] = 0xFFFFFFFE;
    for (int r = 0; r < 9; ++r)
    {
        for (int k = 0; k < 7; ++k)
            c.m_historyRecords[r].date[k] = static_cast<unsigned char>(r * 16 + k + 1);
        c.m_historyRecords[r].value = 0x11111111u * static_cast<uint32_t>(r + 1);
    }
    c.SendHistoryBlock();
    const Bytes block = QueuedHistoryBlock(c);
    ASSERT_EQ(block.size(), 254u);

    EXPECT_EQ(Bytes(block.begin(), block.begin() + 4), (Bytes{0xF6, 0x06, 0x00, 0x00}));
    EXPECT_EQ(Bytes(block.begin() + 4, block.begin() + 8), (Bytes{0x04, 0x03, 0x02, 0x01}));
    for (std::size_t i = 20; i < 42; ++i)
        EXPECT_EQ(block[i], 0) << i;
    EXPECT_EQ(block[141], 0);
    for (std::size_t i = 142; i < 254; ++i)
        EXPECT_EQ(block[i], 0) << i;
    EXPECT_EQ(block[kRecordsAt + 2 * kRecordSize], 2 * 16 + 1);

    const HistoryBlock back = ReadBack(block);
    EXPECT_EQ(back.m_workCounters[0], 1782u);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(back.m_workCounters[i], c.m_workCounters[i]);
    for (int r = 0; r < 9; ++r)
    {
        EXPECT_EQ(back.m_records[r].value, c.m_historyRecords[r].value);
        for (int k = 0; k < 7; ++k)
            EXPECT_EQ(back.m_records[r].date[k], c.m_historyRecords[r].date[k]);
    }
}

TEST(HistoryBlockWriteTest, RecordValueBytesGoBackInTheirOrder)
{
    // Record 2 as the ECU sent it: value bytes DD C3 E6 58.
    Bytes fromEcu(HistoryBlock::kSize, 0);
    const std::size_t at = kRecordsAt + 2 * kRecordSize + 7;
    fromEcu[at] = 0xDD;
    fromEcu[at + 1] = 0xC3;
    fromEcu[at + 2] = 0xE6;
    fromEcu[at + 3] = 0x58;
    Kandrel reader(fromEcu.data());
    const HistoryBlock read(reader);

    Controller c;
    c.m_parametersApplied = 1;
    for (int r = 0; r < 9; ++r)
        c.m_historyRecords[r] = read.m_records[r];
    c.SendHistoryBlock(); // stamps records 1, 4..7; record 2 is carried
    const Bytes block = QueuedHistoryBlock(c);
    ASSERT_EQ(block.size(), 254u);
    EXPECT_EQ(Bytes(block.begin() + at, block.begin() + at + 4), (Bytes{0xDD, 0xC3, 0xE6, 0x58}));
}

TEST(HistoryBlockWriteTest, RecordsAreStampedOncePerLinkReset)
{
    Controller c;
    c.m_parametersApplied = 1;
    for (int r = 0; r < 9; ++r)
    {
        c.m_historyRecords[r].date[0] = static_cast<unsigned char>(0xA0 + r);
        c.m_historyRecords[r].value = 100u + static_cast<uint32_t>(r);
    }
    const HistoryRecord before[9] = {c.m_historyRecords[0], c.m_historyRecords[1], c.m_historyRecords[2],
                                     c.m_historyRecords[3], c.m_historyRecords[4], c.m_historyRecords[5],
                                     c.m_historyRecords[6], c.m_historyRecords[7], c.m_historyRecords[8]};

    unsigned char earliest[7];
    MakeDateRecord(earliest);
    c.SendHistoryBlock();
    unsigned char latest[7];
    MakeDateRecord(latest);

    for (int r : {1, 4})
    {
        EXPECT_LE(KeyOf(earliest), KeyOf(c.m_historyRecords[r].date)) << r;
        EXPECT_LE(KeyOf(c.m_historyRecords[r].date), KeyOf(latest)) << r;
    }
    EXPECT_EQ(c.m_historyRecords[1].value, 101u);
    // 4 -> 5 -> 6 -> 7, the old record 7 is gone; 4 keeps its value.
    EXPECT_EQ(c.m_historyRecords[4].value, 104u);
    EXPECT_EQ(c.m_historyRecords[5].value, 104u);
    EXPECT_EQ(c.m_historyRecords[5].date[0], 0xA4);
    EXPECT_EQ(c.m_historyRecords[6].date[0], 0xA5);
    EXPECT_EQ(c.m_historyRecords[7].date[0], 0xA6);
    EXPECT_EQ(c.m_historyRecords[7].value, 106u);
    for (int r : {0, 2, 3, 8})
    {
        EXPECT_EQ(c.m_historyRecords[r].value, before[r].value);
        EXPECT_EQ(c.m_historyRecords[r].date[0], before[r].date[0]);
    }
    // The block carries the stamped records.
    const Bytes first = QueuedHistoryBlock(c);
    EXPECT_EQ(KeyOf(&first[kRecordsAt + 4 * kRecordSize]), KeyOf(c.m_historyRecords[4].date));

    // Later blocks until the next reset change nothing.
    c.m_historyRecords[4].date[0] = 0x55;
    c.SendHistoryBlock();
    c.SendHistoryBlock();
    EXPECT_EQ(c.m_historyRecords[4].date[0], 0x55);
    EXPECT_EQ(c.m_historyRecords[5].date[0], 0xA4);

    // After a reset (and the next parameter frame) the stamp comes again.
    c.ResetLink();
    c.m_parametersApplied = 1;
    c.SendHistoryBlock();
    EXPECT_EQ(c.m_historyStamped, 1);
    EXPECT_EQ(c.m_historyRecords[5].date[0], 0x55);
    EXPECT_EQ(c.m_historyRecords[6].date[0], 0xA4);
}

TEST(HistoryBlockWriteTest, DateRecordIsLocalTimeYearLowByteFirst)
{
    unsigned char date[7] = {};
    MakeDateRecord(date, wxDateTime(31, wxDateTime::Dec, 2012, 23, 59, 58));
    EXPECT_EQ(Bytes(date, date + 7), (Bytes{0xDC, 0x07, 0x0C, 0x1F, 0x17, 0x3B, 0x3A}));
    MakeDateRecord(date, wxDateTime(1, wxDateTime::Jan, 2024, 0, 0, 0));
    EXPECT_EQ(Bytes(date, date + 7), (Bytes{0xE8, 0x07, 1, 1, 0, 0, 0}));
}
