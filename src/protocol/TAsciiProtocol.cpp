#include "protocol/TAsciiProtocol.h"

#include "model/TDeviceList.h"
#include "model/TUpsInfoTable.h"
#include "protocol/TCommDebug.h"
#include "protocol/TEngineState.h"

TAsciiProtocol::TAsciiProtocol(const TBusContext &context, std::uint8_t version,
                               const TCommandCodes &commands)
    : FContext(context)
    , FVersion(version)
    , FCommands(commands)
{
    FRecord = FContext.UpsInfo.Find(FCurAddr);
}

void TAsciiProtocol::BuildRequest()
{
    TEngineState &engine = FContext.Engine;

    if (engine.SearchMode != 0) {
        FCurAddr = engine.SearchAddr;
        FRequestKind = kStatusKind;
    } else if (engine.ManualSendMode != 0) {
        FFrameLength = 0;
        return;
    } else {
        FRecord = FContext.UpsInfo.Find(FCurAddr);
        engine.ReqSteps = (FRecord == nullptr || FRecord->LinkState == kLinkLost) ? 1 : 5;
        ++engine.ReqStep;
        // ReqStep is shared engine state; whatever it held, the kind built
        // must be one of the five commands.
        if (engine.ReqStep > engine.ReqSteps || engine.ReqStep == 0) {
            engine.ReqStep = 1;
            FContext.DeviceList.NextPollDevice();
            FCurAddr = FContext.DeviceList.PollAddr();
        }
        FRequestKind = engine.ReqStep;
    }
    FFrameLength = TAsciiFrame::BuildRequest(engine.TxBuf.data(), FVersion, FCurAddr,
                                             FCommands[FRequestKind - 1]);
}

bool TAsciiProtocol::DecodeReply(const std::uint8_t *buffer, int length)
{
    const TAsciiFrame reply(buffer, length);
    const TAsciiFrame::TCheck check = reply.Check(FVersion, FCurAddr);
    if (check != TAsciiFrame::CheckPassed) {
        ++FContext.Debug.ErrCnt[check];
        return false;
    }
    ++FContext.Debug.AckOkCnt;
    if (IsStrayReply(reply))
        return false;
    FRecord = FContext.UpsInfo.Find(FCurAddr);
    if (FRecord != nullptr && FRequestKind >= 1 && FRequestKind <= FCommands.size()
        && !DecodeInfo(FRequestKind, reply, *FRecord)) {
        ++FContext.Debug.StrayReplyCnt;
        return false;
    }
    // A second reply to the same request is valid but carries nothing new.
    FRequestKind = 0;
    return true;
}

bool TAsciiProtocol::IsStrayReply(const TAsciiFrame &reply)
{
    // A second reply to a request already answered stores nothing; its
    // length has nothing to say.
    if (FRequestKind == 0)
        return false;
    const TUpsInfo *rec = FContext.UpsInfo.Find(FCurAddr);
    const bool linkLost = rec == nullptr || rec->LinkState == kLinkLost;
    if (FReplyLengths.Take(FCurAddr, FRequestKind, reply.InfoLength(), linkLost))
        return false;
    ++FContext.Debug.StrayReplyCnt;
    return true;
}
