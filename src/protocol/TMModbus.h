#pragma once

#include "protocol/TBusContext.h"
#include "protocol/TPollProtocol.h"

#include <cstdint>

struct TUpsInfo;

// Modbus RTU master of the bus: five read sub-requests per online device
// (one for a lost device), the queued control and parameter writes, and the
// search probe. Replies are decoded into the status record of the address
// asked.
class TMModbus : public TPollProtocol {
public:
    // Written to register 50000 ahead of each parameter write on the models
    // that need it.
    static constexpr std::uint16_t Reg50000Value = 1;

    // The largest function-16 write that fits the transmit buffer and the
    // Modbus limit on one request.
    static constexpr std::uint32_t kMaxWriteRegisters = 123;

    explicit TMModbus(const TBusContext &context);

    void BuildRequest() override;
    bool DecodeReply(const std::uint8_t *buffer, int length) override;
    int FrameLength() const override { return FFrameLength; }
    std::uint16_t CurrentAddress() const override { return FCurAddr; }
    int CompleteFrameLength(const std::uint8_t *block, int length) const override;

    // The length a reply frame announces by its function code and byte
    // count; 0 while its header is incomplete, -1 for a function code no
    // reply of a master's request carries.
    static int AnnouncedReplyLength(const std::uint8_t *block, int length);

    std::uint8_t FuncCode() const { return FFuncCode; }
    std::int32_t StartReg() const { return FStartReg; }
    std::int32_t RegCount() const { return FRegCount; }

    // How many sub-requests a device gets per visit: only the first while
    // its link is lost, five on the model with the extra register, else four.
    static std::uint8_t RequestStepsFor(const TUpsInfo &record, const QString &modelName);

    // The value a write frame carries for `reg`.
    std::uint16_t WriteValue(std::uint32_t reg) const;

private:
    void SetFrame(std::uint16_t addr, std::uint8_t funcCode, std::uint32_t startReg,
                  std::uint32_t regCount);
    void BuildFrame();
    void SelectRecord(std::uint16_t addr);
    void StoreRegister(std::uint32_t reg, std::uint16_t value);
    // Whether the request in flight reads every status and alarm word.
    bool CoversStatusWords() const;

    TBusContext FContext;
    TUpsInfo *FRecord = nullptr; // none for an address beyond the table
    std::uint16_t FCurAddr = 0;
    int FFrameLength = 0;
    std::uint8_t FFrameAddr = 0;
    std::uint8_t FFuncCode = 0;
    std::int32_t FStartReg = 0;
    std::int32_t FRegCount = 0;
};
