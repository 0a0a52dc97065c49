#pragma once

#include <QObject>
#include <QTimer>

// The two waits of the request cycle when the bus sets the pace: for the
// reply to the request on the line, and for the line to fall silent before
// the next request. Each is a single-shot timer; the owner is told when one
// runs out and decides what the cycle does next.
class TBusPace : public QObject {
    Q_OBJECT

public:
    explicit TBusPace(QObject *parent = nullptr);

    // A request is on the line: its reply must begin within `ms`.
    void AwaitReply(int ms);
    // The reply has begun: the wait now ends with its block, bounded by `ms`
    // for a line that never falls silent.
    void ExtendReplyWait(int ms);
    void StopAwaitingReply();
    bool AwaitingReply() const { return FReply.isActive(); }

    // The line is busy for `ms` more: the next request goes out after that.
    void FreeLineAfter(int ms);
    bool FreeingLine() const { return FLineFree.isActive(); }

    // Nothing to wait for: the next request may go out at once.
    bool Idle() const { return !AwaitingReply() && !FreeingLine(); }
    void Stop();

signals:
    void replyTimedOut();
    void lineFree();

private:
    QTimer FReply;
    QTimer FLineFree;
};
