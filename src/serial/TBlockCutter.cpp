#include "serial/TBlockCutter.h"

#include <algorithm>

TBlockCutter::TBlockCutter(QObject *parent) : QObject(parent)
{
    FSilenceTimer.setSingleShot(true);
    FSilenceTimer.setInterval(FSilenceMs);
    connect(&FSilenceTimer, &QTimer::timeout, this, &TBlockCutter::EndBlock);
}

void TBlockCutter::SetSilenceMs(int ms)
{
    FSilenceMs = std::max(0, ms);
    FSilenceTimer.setInterval(FSilenceMs);
}

void TBlockCutter::Reset()
{
    ++FSession;
    FSilenceTimer.stop();
    FPendingBlock.clear();
}

void TBlockCutter::Take(QByteArrayView bytes, qint64 nowMs)
{
    if (bytes.isEmpty())
        return;
    // The silence timer runs on the owner's thread and may not have had its
    // turn yet: a gap already long enough ends the block all the same.
    if (!FPendingBlock.isEmpty() && nowMs - FLastReceiveMs >= FSilenceMs) {
        // The receiver may close the port on that block; the bytes that
        // came after it belong to the closed stream and are dropped with it.
        const quint64 session = FSession;
        EndBlock();
        if (session != FSession)
            return;
    }
    const bool blockStarts = FPendingBlock.isEmpty();
    if (blockStarts)
        FBlockStartMs = nowMs;
    FLastReceiveMs = nowMs;
    FPendingBlock.append(bytes.data(), bytes.size());
    if (blockStarts && !AnnounceBlock())
        return;
    if (!DeliverCompleteFrames(nowMs))
        return;
    while (FPendingBlock.size() >= MaxBlockSize) {
        if (!DeliverBlock(MaxBlockSize, nowMs))
            return;
    }
    if (FPendingBlock.isEmpty())
        FSilenceTimer.stop();
    else
        FSilenceTimer.start();
}

bool TBlockCutter::AnnounceBlock()
{
    const quint64 session = FSession;
    emit blockStarted();
    return session == FSession;
}

TBlockCutter::TFramePlace TBlockCutter::FindCompleteFrame() const
{
    constexpr int kNoFrame = -1;
    const int atStart = FFrameEnd(FPendingBlock);
    if (atStart != kNoFrame)
        return {0, std::max(atStart, 0)};
    const QByteArrayView pending(FPendingBlock);
    for (qsizetype offset = 1; offset < pending.size(); ++offset) {
        const int length = FFrameEnd(pending.sliced(offset));
        if (length > 0 && length <= pending.size() - offset)
            return {offset, length};
    }
    return {};
}

bool TBlockCutter::DeliverCompleteFrames(qint64 nowMs)
{
    while (FFrameEnd && !FPendingBlock.isEmpty()) {
        const TFramePlace frame = FindCompleteFrame();
        if (frame.Length <= 0 || frame.Length > FPendingBlock.size() - frame.Offset)
            return true;
        if (frame.Offset > 0 && !DeliverBlock(frame.Offset, nowMs))
            return false;
        if (!DeliverBlock(frame.Length, nowMs))
            return false;
        // What follows the frame in the same read is a block of its own.
        if (!FPendingBlock.isEmpty() && !AnnounceBlock())
            return false;
    }
    return true;
}

bool TBlockCutter::DeliverBlock(qsizetype length, qint64 nowMs)
{
    const QByteArray block = FPendingBlock.left(length);
    FPendingBlock.remove(0, length);
    const qint64 startedMs = FBlockStartMs;
    FBlockStartMs = nowMs;
    const quint64 session = FSession;
    emit blockReady(block, startedMs);
    return session == FSession;
}

void TBlockCutter::EndBlock()
{
    FSilenceTimer.stop();
    if (FPendingBlock.isEmpty())
        return;
    QByteArray block;
    block.swap(FPendingBlock);
    emit blockReady(block, FBlockStartMs);
}
