#include "model/TUpsInfo.h"
#include "model/TUpsInfoTable.h"

#include <gtest/gtest.h>

#include <QByteArray>

#include <array>

namespace {

QByteArray Hex(const std::uint8_t *bytes, int size)
{
    return QByteArray(reinterpret_cast<const char *>(bytes), size).toHex(' ');
}

} // namespace

TEST(TUpsInfoTable, StartsEveryAddressLostWithNoState)
{
    TUpsInfoTable table;
    table[7].OkCnt = 5;
    table[7].State = 4;
    table.Reset();
    for (int addr : {0, 7, 252}) {
        const TUpsInfo &info = table[addr];
        EXPECT_EQ(info.Addr, addr);
        EXPECT_EQ(info.LinkState, kLinkLost);
        EXPECT_EQ(info.State, -1);
        EXPECT_EQ(info.PrevState, -1);
        EXPECT_EQ(info.NoReplyCnt, 0);
        EXPECT_EQ(info.OkCnt, 0);
        EXPECT_EQ(info.BattCapacity, 0);
        EXPECT_EQ(info.AlarmCount, 0);
    }
    EXPECT_THROW(table[253], std::out_of_range);
}

TEST(MeasurementBlock, LaysOutValuesLittleEndianWithDoublesAsBinary64)
{
    TMeasurement values;
    values.InputVolt[0] = 220.5;
    values.OutputVolt[1] = 50.0;
    values.LoadPercent[2] = -3.25;
    values.OutputFreq = 50.0;
    values.DcVolt = 220.5;
    values.BattCapacity = 0x01020304;
    values.BattBackupTime = -2;
    values.ChargeCurrent = 50.0;
    values.DischargeCurrent = -3.25;

    std::array<std::uint8_t, kMeasurementBlockSize> bytes;
    bytes.fill(0xAA);
    WriteMeasurementBlock(values, bytes.data());

    const char *zero = "00 00 00 00 00 00 00 00";
    const char *v220_5 = "00 00 00 00 00 90 6b 40";
    const char *v50 = "00 00 00 00 00 00 49 40";
    const char *vMinus3_25 = "00 00 00 00 00 00 0a c0";
    const QByteArray expected = QByteArray(v220_5) + ' ' + zero + ' ' + zero       // InputVolt
        + ' ' + zero + ' ' + v50 + ' ' + zero                                      // OutputVolt
        + ' ' + zero + ' ' + zero + ' ' + vMinus3_25                               // LoadPercent
        + ' ' + v50 + ' ' + v220_5                                                 // OutputFreq, DcVolt
        + " 04 03 02 01 fe ff 00 00 "                                              // capacity, time, unused
        + v50 + ' ' + vMinus3_25;                                                  // currents
    EXPECT_EQ(Hex(bytes.data(), kMeasurementBlockSize), expected);

    const TMeasurement back = ReadMeasurementBlock(bytes.data());
    std::array<std::uint8_t, kMeasurementBlockSize> again;
    WriteMeasurementBlock(back, again.data());
    EXPECT_EQ(again, bytes);
}

TEST(StatusBlock, TenWordsThenStateCodeThenReservedBytes)
{
    TUpsInfo info;
    const std::uint16_t words[] = {0x1234, 0x0001, 0x8000, 0x00FF, 0xFF00, 0x0A0B, 0x0C0D, 0x0E0F, 0x1011, 0xBEEF};
    std::uint16_t *fields[] = {&info.CmmState1, &info.CmmState2, &info.CmmAlarm1, &info.CmmAlarm2, &info.InvState1,
                               &info.InvState2, &info.InvAlarm1, &info.InvAlarm2, &info.SysState, &info.SysAlarm};
    for (int i = 0; i < 10; ++i)
        *fields[i] = words[i];
    info.UpsStateCode = 0x07;

    std::array<std::uint8_t, kStatusBlockSize> bytes;
    bytes.fill(0xAA);
    WriteStatusBlock(info, bytes.data());
    EXPECT_EQ(Hex(bytes.data(), kStatusBlockSize),
              QByteArray("34 12 01 00 00 80 ff 00 00 ff 0b 0a 0d 0c 0f 0e 11 10 ef be 07 00 00 00 00 00"));
}
