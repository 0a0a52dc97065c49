#pragma once

#include "serial/TBusTransport.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QObject>
#include <QTimer>

// Cuts a stream of received bytes into the blocks the polling engine sees
// as replies, the same way whatever carries the bytes (a serial line, a raw
// TCP connection to a device server): a block ends when the stream has been
// silent for the silence time, or when it reaches MaxBlockSize bytes. When
// the owner knows where frames end (SetFrameEnd), a block that holds a
// complete frame is delivered as soon as the frame has arrived, and the
// silence ends only what is no frame. Bytes that begin no frame but are
// followed by one (garbage before a reply) are a block of their own,
// delivered with the frame.
//
// A receiver may Reset the cutter from within a delivery (the port is
// closed on a block): nothing more of that stream is delivered.
class TBlockCutter : public QObject
{
    Q_OBJECT

public:
    static constexpr qsizetype MaxBlockSize = 2048;

    explicit TBlockCutter(QObject *parent = nullptr);

    void SetSilenceMs(int ms);
    int SilenceMs() const { return FSilenceMs; }
    void SetFrameEnd(TBusTransport::TFrameEnd frameEnd) { FFrameEnd = std::move(frameEnd); }

    // Bytes read at nowMs on the line clock (LineClockMs).
    void Take(QByteArrayView bytes, qint64 nowMs);
    // The silence has come: what is pending is one block.
    void EndBlock();
    // Drops whatever is pending; deliveries under way stop.
    void Reset();

signals:
    void blockStarted();
    void blockReady(const QByteArray &block, qint64 startedMs);

private:
    struct TFramePlace {
        qsizetype Offset = 0;
        int Length = 0; // 0: no complete frame in the pending block
    };
    TFramePlace FindCompleteFrame() const;
    // Delivers the complete frames the pending block holds, each with what
    // came before it; false when the receiver reset the cutter on one.
    bool DeliverCompleteFrames(qint64 nowMs);
    // Hands over the first `length` pending bytes as one block; false when
    // the receiver reset the cutter on it.
    bool DeliverBlock(qsizetype length, qint64 nowMs);
    // Emits blockStarted; false when the receiver reset the cutter on it.
    bool AnnounceBlock();

    int FSilenceMs = 100;
    TBusTransport::TFrameEnd FFrameEnd;
    QByteArray FPendingBlock;
    QTimer FSilenceTimer;
    qint64 FBlockStartMs = 0;
    qint64 FLastReceiveMs = 0;
    // Counts resets, so that a delivery cannot outlive its stream.
    quint64 FSession = 0;
};
