#include "protocol/TMModbus.h"

#include "model/TDeviceList.h"
#include "model/TDeviceNode.h"
#include "model/TUpsInfoTable.h"
#include "model/UpsInfoRules.h"
#include "protocol/ModbusCrc.h"
#include "protocol/ModbusParaMap.h"
#include "protocol/TCommDebug.h"
#include "protocol/TCommandQueue.h"
#include "protocol/TEngineState.h"

#include <QByteArrayView>

#include <array>

namespace {

struct TReadRequest {
    std::uint8_t FuncCode;
    std::uint32_t StartReg;
    std::uint32_t RegCount;
};

// The poll sub-requests, indexed by ReqStep - 1.
constexpr std::array<TReadRequest, 5> kPollRequests = {{
    {4, 30001, 14},
    {4, 30021, 18},
    {4, 30081, 11},
    {3, 40001, 28},
    {3, 40029, 1},
}};

constexpr TReadRequest kSearchProbe = kPollRequests[0];

const QString kFiveStepModel = QStringLiteral("QMX960LD");

// Address, function and CRC: nothing shorter can be a reply.
constexpr int kMinReplyLength = 4;
// Address, function, byte count and CRC around the values of a read reply.
constexpr int kReadReplyOverhead = 5;
// Address, function with bit 7 set, exception code, CRC.
constexpr int kExceptionReplyLength = 5;
// A write reply echoes address, function, register and value or count.
constexpr int kWriteReplyLength = 8;

void PutWord(std::uint8_t *out, std::uint32_t value)
{
    out[0] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
    out[1] = static_cast<std::uint8_t>(value & 0xFF);
}

std::uint16_t GetWord(const std::uint8_t *in)
{
    return static_cast<std::uint16_t>((in[0] << 8) | in[1]);
}

QByteArrayView BytesOf(const std::uint8_t *data, int length)
{
    return QByteArrayView(data, length);
}

} // namespace

TMModbus::TMModbus(const TBusContext &context)
    : FContext(context)
{
    SelectRecord(1);
}

std::uint8_t TMModbus::RequestStepsFor(const TUpsInfo &record, const QString &modelName)
{
    if (record.LinkState == kLinkLost)
        return 1;
    return modelName == kFiveStepModel ? 5 : 4;
}

void TMModbus::SelectRecord(std::uint16_t addr)
{
    FRecord = FContext.UpsInfo.Find(addr);
}

void TMModbus::BuildRequest()
{
    TEngineState &engine = FContext.Engine;

    if (engine.SearchMode != 0) {
        FCurAddr = engine.SearchAddr;
        SetFrame(FCurAddr, kSearchProbe.FuncCode, kSearchProbe.StartReg, kSearchProbe.RegCount);
        return;
    }
    if (engine.ManualSendMode != 0) {
        FFrameLength = 0;
        return;
    }
    const auto command = FContext.CmdQueue.TakeNext();
    // A command for no device (selected as address 0) is dropped: a write
    // to the broadcast address would reach every unit on the bus.
    if (command && TDeviceNode::IsBusAddress(command->Addr)) {
        engine.PollAddr = command->Addr;
        FCurAddr = command->Addr;
        SelectRecord(FCurAddr);
        SetFrame(FCurAddr, command->FuncCode, command->StartReg, command->RegCount);
        return;
    }

    SelectRecord(FCurAddr);
    engine.ReqSteps = FRecord ? RequestStepsFor(*FRecord, FContext.ModelName) : 1;
    ++engine.ReqStep;
    if (engine.ReqStep > engine.ReqSteps) {
        engine.ReqStep = 1;
        FContext.DeviceList.NextPollDevice();
        FCurAddr = FContext.DeviceList.PollAddr();
    }
    const TReadRequest &request = kPollRequests[engine.ReqStep - 1];
    SetFrame(FCurAddr, request.FuncCode, request.StartReg, request.RegCount);
}

void TMModbus::SetFrame(std::uint16_t addr, std::uint8_t funcCode, std::uint32_t startReg,
                        std::uint32_t regCount)
{
    FFrameAddr = static_cast<std::uint8_t>(addr);
    FFuncCode = funcCode;
    FStartReg = static_cast<std::int32_t>(startReg);
    FRegCount = static_cast<std::int32_t>(regCount);
    BuildFrame();
}

void TMModbus::BuildFrame()
{
    FFrameLength = 0;
    std::uint8_t *tx = FContext.Engine.TxBuf.data();
    const auto start = static_cast<std::uint32_t>(FStartReg);
    const auto count = static_cast<std::uint32_t>(FRegCount);
    int length = 0;

    tx[0] = FFrameAddr;
    tx[1] = FFuncCode;
    PutWord(tx + 2, start - 1);
    switch (FFuncCode) {
    case 1:
    case 2:
    case 3:
    case 4:
        PutWord(tx + 4, count);
        length = 6;
        break;
    case 6:
        PutWord(tx + 4, WriteValue(start));
        length = 6;
        break;
    case 16:
        // A longer write would run past the transmit buffer.
        if (count > kMaxWriteRegisters)
            return;
        PutWord(tx + 4, count);
        tx[6] = static_cast<std::uint8_t>((2 * count) & 0xFF);
        for (std::uint32_t i = 0; i < count; ++i)
            PutWord(tx + 7 + 2 * i, WriteValue(start + i));
        length = 7 + 2 * static_cast<int>(count);
        break;
    default:
        return;
    }
    const quint16 crc = ModbusCrc(BytesOf(tx, length));
    tx[length] = static_cast<std::uint8_t>(crc & 0xFF);
    tx[length + 1] = static_cast<std::uint8_t>(crc >> 8);
    FFrameLength = length + 2;
}

std::uint16_t TMModbus::WriteValue(std::uint32_t reg) const
{
    if (reg >= 20001 && reg <= 20003)
        return static_cast<std::uint16_t>(FContext.CmdQueue.ControlValue);
    if (reg == 50000)
        return Reg50000Value;
    // Register 40028 is read into the block but never written back.
    if (reg == 40028)
        return 0;
    return ParaRegisterValue(FContext.CmdQueue.ParaSetValue, reg);
}

bool TMModbus::DecodeReply(const std::uint8_t *buffer, int length)
{
    if (length < 1 || buffer[0] != FCurAddr)
        return false;
    SelectRecord(FCurAddr);
    if (length < kMinReplyLength || ModbusCrc(BytesOf(buffer, length)) != 0)
        return false;
    ++FContext.Debug.AckOkCnt;
    if (FContext.Engine.SearchMode != 0)
        return true;

    const std::uint8_t funcCode = buffer[1];
    if (funcCode == 3 || funcCode == 4) {
        const int valueCount = buffer[2] / 2;
        // A byte count that promises more values than the block holds is a
        // broken reply; nothing of it is stored.
        if (3 + 2 * valueCount + 2 > length || FRecord == nullptr)
            return false;
        // Replies carry no register numbers. A block of another function or
        // size answers another request (a late reply to the one before, the
        // engine having given up on it); numbered from this request's start
        // its values would land in the wrong fields.
        if (funcCode != FFuncCode || valueCount != FRegCount) {
            ++FContext.Debug.StrayReplyCnt;
            return false;
        }
        for (int i = 0; i < valueCount; ++i) {
            StoreRegister(static_cast<std::uint32_t>(FStartReg + i), GetWord(buffer + 3 + 2 * i));
            FRecord->State = DeriveState(*FRecord);
        }
        DecodeSwitches(*FRecord);
        BuildAlarmList(*FRecord);
        if (CoversStatusWords())
            FRecord->AlarmsRead = FRecord->StateRead = true;
        return true;
    }
    if (funcCode & 0x80)
        return false;
    return true;
}

bool TMModbus::CoversStatusWords() const
{
    constexpr std::int32_t kFirstStatusWord = 30081;
    constexpr std::int32_t kLastStatusWord = 30091;
    return FStartReg <= kFirstStatusWord && FStartReg + FRegCount - 1 >= kLastStatusWord;
}

int TMModbus::AnnouncedReplyLength(const std::uint8_t *block, int length)
{
    if (length < 2)
        return kFrameIncomplete;
    const std::uint8_t funcCode = block[1];
    if (funcCode & 0x80)
        return kExceptionReplyLength;
    switch (funcCode) {
    case 1:
    case 2:
    case 3:
    case 4:
        return length < 3 ? kFrameIncomplete : kReadReplyOverhead + block[2];
    case 5:
    case 6:
    case 15:
    case 16:
        return kWriteReplyLength;
    default:
        return kNotAFrame;
    }
}

int TMModbus::CompleteFrameLength(const std::uint8_t *block, int length) const
{
    const int announced = AnnouncedReplyLength(block, length);
    if (announced <= 0)
        return announced;
    if (length < announced)
        return kFrameIncomplete;
    // A frame whose CRC fails where its length says it ends was misread (a
    // damaged count, bytes that only look like a header): the silence ends it.
    return ModbusCrc(BytesOf(block, announced)) == 0 ? announced : kNotAFrame;
}

void TMModbus::StoreRegister(std::uint32_t reg, std::uint16_t value)
{
    TUpsInfo &rec = *FRecord;
    const double tenth = value * 0.1;
    switch (reg) {
    case 30001:
    case 30002:
    case 30003: rec.InputVolt[reg - 30001] = tenth; break;
    case 30011:
    case 30012:
    case 30013: rec.OutputVolt[reg - 30011] = tenth; break;
    case 30014: rec.OutputFreq = tenth; break;
    case 30021:
    case 30022:
    case 30023: rec.LoadPercent[reg - 30021] = value; break;
    case 30031: rec.PosBattVolt = tenth; break;
    case 30032:
        rec.NegBattVolt = tenth;
        rec.DcVolt = rec.PosBattVolt + rec.NegBattVolt;
        break;
    case 30033: rec.PosChargeCurrent = tenth; break;
    case 30034:
        rec.NegChargeCurrent = tenth;
        rec.ChargeCurrent = rec.PosChargeCurrent + rec.NegChargeCurrent;
        break;
    case 30035: rec.PosDischargeCurrent = tenth; break;
    case 30036:
        rec.NegDischargeCurrent = tenth;
        rec.DischargeCurrent = rec.PosDischargeCurrent + rec.NegDischargeCurrent;
        break;
    case 30037: rec.BattCapacity = value; break;
    case 30038: rec.BattBackupTime = static_cast<std::int16_t>(value); break;
    case 30081: rec.UpsStateCode = static_cast<std::uint8_t>(value & 0xFF); break;
    case 30082: rec.CmmState1 = value; break;
    case 30083: rec.CmmState2 = value; break;
    case 30084: rec.InvState1 = value; break;
    case 30085: rec.InvState2 = value; break;
    case 30086: rec.CmmAlarm1 = value; break;
    case 30087: rec.CmmAlarm2 = value; break;
    case 30088: rec.InvAlarm1 = value; break;
    case 30089: rec.InvAlarm2 = value; break;
    case 30090: rec.SysState = value; break;
    case 30091: rec.SysAlarm = value; break;
    default: StoreParaRegister(rec.Para, reg, value); break;
    }
}
