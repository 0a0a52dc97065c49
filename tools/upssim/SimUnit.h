#pragma once

#include <QList>
#include <QMap>
#include <QSet>
#include <QString>
#include <QtGlobal>

#include <array>
#include <optional>

// Operating modes of a simulated UPS. Each one is encoded in the status words
// so that a monitor's state rules read back the matching state.
enum class SimMode {
    Online,
    Battery,
    BatteryTest,
    Bypass,
    Eco,
    Standby,
    SoftStart,
    NoOutput,
    Epo,
    MaintBypass,
};

// Ways a unit can spoil its replies on purpose, for error-path tests.
// Faults of the line rather than of the reply's content: what a master
// meets on a noisy or badly wired RS485 bus.
struct SimLineFaults
{
    int splitPauseMs = 0;  // > 0: the reply leaves in two halves with this silence between
    bool twice = false;    // the reply goes out twice, run together
    int answerAs = 0;      // > 0: the reply carries this address instead of the unit's
    int noiseAfterMs = -1; // >= 0: a burst of garbage follows the reply after this silence
};

enum class SimMalformed {
    None,
    Checksum,  // wrong CRC or CHKSUM
    Length,    // wrong LENGTH field, or a Modbus byte count one register short
    Rtn04,     // ASCII reply with RTN 04 (and no INFO)
    LowerCase, // ASCII reply spelled in lower-case hex
    NoCr,      // ASCII reply without its closing carriage return
    WrongEoi,  // ASCII reply closed by a line feed instead of a carriage return
};

// What the unit's front panel would show at one moment; every protocol
// encodes its replies from this.
struct SimReadings
{
    std::array<double, 3> inputVolt{};
    std::array<double, 3> outputVolt{};
    std::array<double, 3> loadPercent{};
    double outputFreq = 0;
    double posBattVolt = 0;
    double negBattVolt = 0;
    double posChargeCurrent = 0;
    double negChargeCurrent = 0;
    double posDischargeCurrent = 0;
    double negDischargeCurrent = 0;
    double battCapacity = 0;
    double battBackupTime = 0;
    quint16 upsStateCode = 0;
    quint16 cmmState1 = 0;
    quint16 cmmState2 = 0;
    quint16 invState1 = 0;
    quint16 invState2 = 0;
    quint16 cmmAlarm1 = 0;
    quint16 cmmAlarm2 = 0;
    quint16 invAlarm1 = 0;
    quint16 invAlarm2 = 0;
    quint16 sysState = 0;
    quint16 sysAlarm = 0;
    // Switches (1 closed) and supplies as the unit's panel shows them:
    // inputSupply 0 none, 1 mains, 2 battery; upsSupply 0 none, 1 inverter,
    // 2 bypass. The ASCII status reply reports these instead of words.
    double inputSwitch = 0;
    double outputSwitch = 0;
    double bypassSwitch = 0;
    double maintBypassSwitch = 0;
    double inputSupply = 0;
    double upsSupply = 0;
    bool batteryTest = false;
    QList<int> alarmCodes; // active codes of both families, ascending

    double DcVolt() const { return posBattVolt + negBattVolt; }
};

// One simulated UPS: its mode, mains and load, battery, parameter registers
// and alarms. Time moves only through Advance(), so tests need no clock.
class SimUnit
{
public:
    explicit SimUnit(int address);

    int Address() const { return m_address; }
    SimMode Mode() const { return m_mode; }

    // Moves the unit's time on: battery charge and discharge, a running
    // battery test or soft start, and the automatic transfers between mains
    // and battery.
    void Advance(double seconds);

    // Applies one scenario setting (see the README for the keys). Returns
    // false with a message for an unknown key or a value it cannot use.
    bool Apply(const QString &key, const QString &value, QString *error);

    SimReadings Readings() const;

    // Modbus view: input registers 3xxxx and holding registers 4xxxx. Empty
    // for a register the unit does not have.
    std::optional<quint16> ReadRegister(int reg) const;
    bool IsWritable(int reg) const;
    // Control registers 20001-20003, parameters 40002-40029 and 50000.
    // Returns false for a register that is not writable.
    bool WriteRegister(int reg, quint16 value);

    // Communication behaviour.
    bool Silent() const { return m_silent; }
    int ReplyDelayMs() const { return m_replyDelayMs; }
    SimMalformed Malformed() const { return m_malformed; }
    const SimLineFaults &LineFaults() const { return m_lineFaults; }
    // The address a reply carries: the unit's own unless answeras= says otherwise.
    int ReplyAddress() const { return m_lineFaults.answerAs > 0 ? m_lineFaults.answerAs : m_address; }

    double BatteryTestSecondsLeft() const { return m_testSecondsLeft; }

    static std::optional<SimMode> ModeFromName(const QString &name);
    static QString ModeName(SimMode mode);
    static std::optional<SimMalformed> MalformedFromName(const QString &name);
    static bool IsKnownAlarmCode(int code);

private:
    bool MainsOk() const;
    bool OutputOn() const;
    bool OnBattery() const;
    double NominalVolt() const;
    double Wobble(double periodSeconds, int phase) const;
    double BackupMinutes() const;
    double CellVolt() const;
    double ChargeCurrent() const;
    double DischargeCurrent() const;
    void UpdateMode();
    void StartSoftStart();
    QSet<int> AutomaticAlarms() const;
    void SetSwitchesAndSupplies(SimReadings &readings) const;
    void EncodeStatusWords(SimReadings &readings) const;
    void ApplyOverrides(SimReadings &readings) const;
    quint16 Param(int reg) const { return m_holding.value(reg); }

    int m_address;
    SimMode m_mode = SimMode::Online;
    double m_time = 0;
    double m_mains = 220.0;
    double m_freq = 50.0;
    double m_load = 40.0;
    double m_capacity = 100.0;
    double m_wobble = 1.0;
    double m_speed = 1.0;
    double m_softStartSeconds = 2.0;
    double m_softStartLeft = 0;
    double m_testSecondsLeft = 0;
    bool m_silent = false;
    int m_replyDelayMs = 0;
    SimMalformed m_malformed = SimMalformed::None;
    SimLineFaults m_lineFaults;
    QSet<int> m_forcedAlarms;
    QMap<QString, double> m_overrides; // reading name (lower case) -> value
    QMap<int, quint16> m_holding;      // 40001-40029
    quint16 m_reg50000 = 0;
};
