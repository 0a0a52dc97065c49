#pragma once

#include "model/TUpsInfo.h"

#include <cstdint>

class TEventLog;

// Operating-state codes.
enum : std::int32_t {
    kStateUnknown = -1,
    kStateStandby = 1,
    kStateNonOutput = 2,
    kStateBypass = 3,
    kStateOnline = 4,
    kStateBattery = 5,
    kStateBattSelfTest = 6,
    kStateSoftStart = 7,
    kStateEco = 8,
    kStateEpo = 9,
    kStateMaintBypass = 10,
    kStateFault = 11,
    kStateLinkDown = 18, // shown for a lost device, never stored in State
};

// Decoding of the status and alarm words (Modbus and YD/T decoders).
std::int32_t DeriveState(const TStatusWords &words);
void DecodeSwitches(TUpsInfo &info);
void BuildAlarmList(TUpsInfo &info);

// Link supervision and change detection, run by the polling engine on the
// record of the address in flight. Events go to `log`.
void CountTransmission(TUpsInfo &info, TEventLog &log);
void NoteValidReply(TUpsInfo &info, TEventLog &log);
void CountReceive(TUpsInfo &info);
void CheckStateChange(TUpsInfo &info, TEventLog &log);
void CompareAlarms(TUpsInfo &info, TEventLog &log);

// Until the words are read again after a link loss, nothing derived from
// them is logged.
void ForgetWordsRead(TUpsInfo &info);

// Resets the live values of a device whose link is down.
void ClearUpsInfo(TUpsInfo &info);
