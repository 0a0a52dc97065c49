#pragma once

#include <array>
#include <cstdint>

// The measured values of one UPS. The data log copies them byte for byte as
// the 112-byte measurement block, so their order is that of the block.
struct TMeasurement {
    double InputVolt[3] = {};    // V, phases A, B, C
    double OutputVolt[3] = {};   // V, phases A, B, C
    double LoadPercent[3] = {};  // %, phases A, B, C
    double OutputFreq = 0;       // Hz
    double DcVolt = 0;           // V, battery bus
    std::int32_t BattCapacity = 0;   // %
    std::int16_t BattBackupTime = 0; // min
    double ChargeCurrent = 0;    // A, positive plus negative group
    double DischargeCurrent = 0; // A, positive plus negative group
};

// The raw status and alarm words of one UPS. Event records of link and state
// events copy them byte for byte as the 26-byte status block.
struct TStatusWords {
    std::uint16_t CmmState1 = 0; // rectifier side
    std::uint16_t CmmState2 = 0;
    std::uint16_t CmmAlarm1 = 0;
    std::uint16_t CmmAlarm2 = 0;
    std::uint16_t InvState1 = 0; // inverter side
    std::uint16_t InvState2 = 0;
    std::uint16_t InvAlarm1 = 0;
    std::uint16_t InvAlarm2 = 0;
    std::uint16_t SysState = 0;
    std::uint16_t SysAlarm = 0;
    std::uint8_t UpsStateCode = 0;               // state byte as the UPS reports it
    std::array<std::uint8_t, 5> StatusReserved = {}; // three bytes and an int16, always 0
};

// The UPS parameter block, one field per known holding register 40002 to 40029.
struct TUpsPara {
    std::uint8_t ParallelId = 0;       // 40002
    std::uint8_t Reg40003 = 0;         // 40003, not interpreted
    std::int32_t WorkMode = 0;         // 40004: 0 Normal, 1 ECO, 2 Master, 3 Slave, 4 Parallel
    std::uint8_t VoltLevel = 0;        // 40005, V
    std::uint8_t FreqLevel = 0;        // 40006, Hz
    std::uint8_t ParallelCount = 0;    // 40007
    std::uint8_t RedundancyCount = 0;  // 40008
    std::uint8_t Reg40009 = 0;         // 40009, not interpreted
    std::uint8_t BypassFreqRange = 0;  // 40011, %
    std::uint8_t BypassVoltMax = 0;    // 40012, %
    std::int16_t BypassVoltMin = 0;    // 40013, % (negative)
    std::int16_t InvVoltTrim = 0;      // 40014, 0.1 %
    std::uint16_t BattCells = 0;       // 40015
    std::uint16_t Reg40016 = 0;        // 40016, not interpreted
    std::uint16_t BattGroups = 0;      // 40017
    std::uint16_t BoostVolt = 0;       // 40018, 0.01 V per cell
    std::uint16_t FloatVolt = 0;       // 40019, 0.01 V per cell
    std::uint16_t EodVolt = 0;         // 40020, 0.01 V per cell
    std::uint16_t BattAh = 0;          // 40021, Ah
    std::uint16_t PreAlarmTime = 0;    // 40022, min
    std::uint16_t MaxChargeCurrent = 0; // 40023, A
    std::uint16_t BoostTime = 0;       // 40025, min
    std::uint16_t StatusControl = 0;   // 40027: bit 12 buzzer disabled, bit 13 boost charge disabled
    std::uint16_t Reg40028 = 0;        // 40028, not interpreted
    std::uint8_t OperationMode = 0;    // 40029: 0 Normal, 1 Sleep, 2 Frequency variable
};

constexpr int kAlarmListSize = 80;

// Link states of a record.
enum : std::uint8_t { kLinkOnline = 0, kLinkError = 1, kLinkLost = 2 };

// The status record of one bus address. Protocol decoders write it, the
// polling engine keeps its link counters, everything else only reads it.
struct TUpsInfo : TMeasurement, TStatusWords {
    std::uint8_t Addr = 0;
    std::uint8_t LinkState = kLinkLost;
    std::int32_t NoReplyCnt = 0; // transmissions since the last valid reply, at most 100
    std::int32_t TxCnt = 0;      // transmissions counted for the reply rate
    std::int32_t RxCnt = 0;      // receive events while polled, at most 10000
    std::int32_t OkCnt = 0;      // valid replies
    std::int32_t OkRate = 0;     // % valid replies per transmission
    std::int64_t LastReplyMs = 0; // wall clock of the last valid reply, ms since 1970 UTC; 0 never

    std::uint8_t InputSwitch = 0;       // 1 closed
    std::uint8_t OutputSwitch = 0;
    std::uint8_t BypassSwitch = 0;
    std::uint8_t MaintBypassSwitch = 0;
    std::uint8_t BattTestFlag = 0;      // ROrizu only
    std::uint8_t InputSupply = 0;       // 0 none, 1 mains, 2 battery
    std::uint8_t UpsSupply = 0;         // 0 none, 1 inverter, 2 bypass

    std::int32_t State = -1; // operating-state code, -1 when unknown
    std::int32_t PrevState = -1;
    std::array<std::int32_t, kAlarmListSize> AlarmList = {};
    std::uint8_t AlarmCount = 0;
    std::array<std::int32_t, kAlarmListSize> PrevAlarmList = {};
    std::uint8_t PrevAlarmCount = 0;
    // Whether the alarm words, and the State derived from the status words
    // (and the alarm words it depends on), were read since the link last
    // came up. Until they were, a state or an alarm list is a leftover or a
    // default, and neither is compared or logged.
    bool AlarmsRead = false;
    bool StateRead = false;

    TUpsPara Para;

    double PosBattVolt = 0;
    double NegBattVolt = 0;
    double PosChargeCurrent = 0;
    double NegChargeCurrent = 0;
    double PosDischargeCurrent = 0;
    double NegDischargeCurrent = 0;
};

constexpr int kMeasurementBlockSize = 112;
constexpr int kStatusBlockSize = 26;

// The byte images of the two blocks that log records carry.
void WriteMeasurementBlock(const TMeasurement &values, std::uint8_t *out);
TMeasurement ReadMeasurementBlock(const std::uint8_t *in);
void WriteStatusBlock(const TStatusWords &words, std::uint8_t *out);
