#include "AsciiSlave.h"

#include "serial/HexHelpers.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace {

constexpr int kCid1Ups = 0x2A;
constexpr int kRequestLength = 18;
// Every INFO starts with a data flag that the monitor does not read.
const QByteArray kDataFlag = "00";

QByteArray Hex2(int value)
{
    return WordToHex4(static_cast<quint32>(value) & 0xFF).right(2);
}

// A fixed-point 4-digit field: value × scale, kept within 16 bits.
QByteArray Fixed4(double value, double scale)
{
    return WordToHex4(static_cast<quint32>(std::clamp<long long>(std::llround(value * scale), 0, 0xFFFF)));
}

QByteArray Fields4(int count)
{
    return QByteArray(4 * count, '0');
}

QByteArray YdtInfo(int cid2, const SimReadings &r)
{
    QByteArray info = kDataFlag;
    switch (cid2) {
    case 0x42: // voltages, DC voltage and frequency, hundredths
        for (double v : r.inputVolt)
            info += Fixed4(v, 100);
        for (double v : r.outputVolt)
            info += Fixed4(v, 100);
        info += Fields4(3);
        info += Fixed4(r.DcVolt(), 100);
        info += Fixed4(r.outputFreq, 100);
        return info;
    case 0x43: // status: the state byte and three words, the system state byte
        info += Fields4(1);
        info += Hex2(r.upsStateCode);
        info += WordToHex4(r.cmmState1) + WordToHex4(r.invState1) + WordToHex4(r.invState2);
        info += Hex2(r.sysState);
        return info;
    case 0x44: // alarm words and the system alarm byte
        info += QByteArray(18, '0');
        info += WordToHex4(r.cmmAlarm1) + WordToHex4(r.cmmAlarm2) + WordToHex4(r.invAlarm1)
            + WordToHex4(r.invAlarm2);
        info += Hex2(r.sysAlarm);
        return info;
    case 0x80: // phase loads and the battery group currents
        info += Fields4(20);
        for (double v : r.loadPercent)
            info += Fixed4(v, 1);
        info += Fields4(9);
        info += Fixed4(r.posChargeCurrent, 100) + Fixed4(r.negChargeCurrent, 100);
        info += Fixed4(r.posDischargeCurrent, 100) + Fixed4(r.negDischargeCurrent, 100);
        return info;
    case 0x82: // backup time and battery capacity
        info += Fields4(5);
        info += Fixed4(r.battBackupTime, 1) + Fixed4(r.battCapacity, 1);
        return info;
    default:
        return {};
    }
}

QByteArray Switch(double closed)
{
    return closed != 0 ? "E1" : "E0";
}

QByteArray RorizuStatusInfo(const SimReadings &r)
{
    const QByteArray unused = "E0";
    QByteArray info = kDataFlag;
    info += r.upsSupply == 1 ? "01" : r.upsSupply == 2 ? "02" : "E9";
    info += unused;
    info += r.batteryTest ? "E0" : "E1";
    info += unused + unused;
    info += r.inputSupply == 1 ? "E0" : r.inputSupply == 2 ? "E1" : "E3";
    info += unused;
    info += Switch(r.inputSwitch) + Switch(r.maintBypassSwitch) + Switch(r.bypassSwitch) + Switch(r.outputSwitch);
    return info;
}

// The alarm items: a second group of seven items, then 56 main items whose
// number is the code minus 100. A few items carry a value, not a flag.
QByteArray RorizuAlarmInfo(const SimReadings &r)
{
    const auto active = [&](int code) { return r.alarmCodes.contains(code); };
    QByteArray info = kDataFlag;
    for (int code = 201; code <= 205; ++code)
        info += active(code) ? "01" : "00";
    const std::pair<int, const char *> batteryItem[] = {
        {206, "01"}, {207, "02"}, {208, "F0"}, {209, "E1"}, {210, "03"}};
    QByteArray battery = "00";
    for (const auto &[code, value] : batteryItem) {
        if (active(code)) {
            battery = value;
            break;
        }
    }
    info += battery;
    info += "00"; // seventh item, not used
    info += "00"; // gap before the main group
    for (int item = 0; item < 56; ++item) {
        if (item == 35)
            info += active(135) ? "F1" : "00";
        else if (item == 48) // battery breaker: F1 broken, 00 not connected
            info += active(160) ? "F1" : active(148) ? "00" : "E0";
        else
            info += active(100 + item) ? "01" : "00";
    }
    return info;
}

// Replies with single floats placed from position 113 on.
QByteArray RorizuTailInfo(const QList<double> &values)
{
    QByteArray info = kDataFlag + QByteArray(98, '0');
    for (double v : values)
        info += AsciiSlave::SingleToHex(v);
    return info;
}

QByteArray RorizuInfo(int cid2, const SimReadings &r)
{
    switch (cid2) {
    case 0x41: { // line input voltages, phase output voltages, DC voltage, frequency
        QByteArray info = kDataFlag;
        for (double v : r.inputVolt)
            info += AsciiSlave::SingleToHex(v * std::sqrt(3.0));
        for (double v : r.outputVolt)
            info += AsciiSlave::SingleToHex(v);
        for (int i = 0; i < 3; ++i)
            info += AsciiSlave::SingleToHex(0);
        info += AsciiSlave::SingleToHex(r.DcVolt());
        info += AsciiSlave::SingleToHex(r.outputFreq);
        return info;
    }
    case 0x43:
        return RorizuStatusInfo(r);
    case 0x44:
        return RorizuAlarmInfo(r);
    case 0xE2:
        return RorizuTailInfo({r.loadPercent[0], r.loadPercent[1], r.loadPercent[2]});
    case 0xE3:
        return RorizuTailInfo({r.battBackupTime});
    default:
        return {};
    }
}

QByteArray Version(AsciiSlave::Dialect dialect)
{
    return dialect == AsciiSlave::Dialect::Ydt ? "31" : "11";
}

} // namespace

QByteArray AsciiSlave::SingleToHex(double value)
{
    const quint32 bits = std::bit_cast<quint32>(static_cast<float>(value));
    QByteArray hex;
    for (int byte = 0; byte < 4; ++byte)
        hex += Hex2(static_cast<int>(bits >> (8 * byte)));
    return hex;
}

std::optional<QByteArray> AsciiSlave::Info(Dialect dialect, int cid2, const SimReadings &readings)
{
    QByteArray info = dialect == Dialect::Ydt ? YdtInfo(cid2, readings) : RorizuInfo(cid2, readings);
    if (info.isEmpty())
        return std::nullopt;
    return info;
}

QByteArray AsciiSlave::Frame(Dialect dialect, int address, int rtn, const QByteArray &info, SimMalformed malformed)
{
    QByteArray body = info;
    if (malformed == SimMalformed::Rtn04) {
        rtn = CommandError;
        body.clear();
    }
    QByteArray frame = "~" + Version(dialect) + Hex2(address) + Hex2(kCid1Ups) + Hex2(rtn);
    // A LENGTH that claims two characters more than the INFO carries.
    frame += LengthField(static_cast<int>(body.size()) + (malformed == SimMalformed::Length ? 2 : 0));
    frame += body;
    if (malformed == SimMalformed::LowerCase)
        frame = frame.toLower();
    QByteArray checksum = FrameChecksum(frame, static_cast<int>(frame.size() - 1));
    if (malformed == SimMalformed::Checksum)
        checksum = WordToHex4(Hex4ToWord(checksum.constData()) + 1u);
    if (malformed == SimMalformed::LowerCase)
        checksum = checksum.toLower();
    frame += checksum;
    if (malformed == SimMalformed::WrongEoi)
        frame += '\n';
    else if (malformed != SimMalformed::NoCr)
        frame += '\r';
    return frame;
}

SimReply AsciiSlave::Answer(QByteArrayView request)
{
    if (request.size() < kRequestLength || request.front() != '~' || request.back() != '\r')
        return {};
    const int address = static_cast<int>(HexToInt(request.sliced(3, 2), 2));
    SimUnit *unit = m_bus.Unit(address);
    if (!unit || unit->Silent())
        return {};

    const qsizetype length = request.size();
    const QByteArray expectedChecksum = FrameChecksum(request, static_cast<int>(length - 6));
    const int infoLength = static_cast<int>(length - kRequestLength);
    int rtn = Normal;
    std::optional<QByteArray> info;
    if (request.sliced(length - 5, 4) != expectedChecksum)
        rtn = ChecksumError;
    else if (request.sliced(1, 2) != Version(m_dialect))
        rtn = VersionError;
    else if (request.sliced(9, 4) != LengthField(infoLength))
        rtn = LengthError;
    else if (HexToInt(request.sliced(5, 2), 2) != kCid1Ups
             || !(info = Info(m_dialect, static_cast<int>(HexToInt(request.sliced(7, 2), 2)), unit->Readings())))
        rtn = CommandError;

    return SimReply::From(*unit, Frame(m_dialect, unit->ReplyAddress(), rtn, rtn == Normal ? *info : QByteArray(),
                                       unit->Malformed()));
}
