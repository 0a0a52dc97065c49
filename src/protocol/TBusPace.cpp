#include "protocol/TBusPace.h"

#include <algorithm>

TBusPace::TBusPace(QObject *parent) : QObject(parent)
{
    for (QTimer *timer : {&FReply, &FLineFree}) {
        timer->setSingleShot(true);
        // The waits are a few milliseconds; a coarse timer would double them.
        timer->setTimerType(Qt::PreciseTimer);
    }
    connect(&FReply, &QTimer::timeout, this, &TBusPace::replyTimedOut);
    connect(&FLineFree, &QTimer::timeout, this, &TBusPace::lineFree);
}

void TBusPace::AwaitReply(int ms)
{
    FLineFree.stop();
    FReply.start(std::max(0, ms));
}

void TBusPace::ExtendReplyWait(int ms)
{
    if (FReply.isActive())
        FReply.start(std::max(0, ms));
}

void TBusPace::StopAwaitingReply()
{
    FReply.stop();
}

void TBusPace::FreeLineAfter(int ms)
{
    FLineFree.start(std::max(0, ms));
}

void TBusPace::Stop()
{
    FReply.stop();
    FLineFree.stop();
}
