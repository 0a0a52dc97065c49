#pragma once

#include "SimUnit.h"

#include <QByteArray>
#include <QByteArrayView>

// The answer of the bus to one received frame. Empty bytes: nobody answers.
// The line faults say how the port spoils the way the reply travels.
struct SimReply
{
    QByteArray bytes;
    int delayMs = 0;
    SimLineFaults faults;

    // A unit's reply, travelling with that unit's delay and line faults.
    static SimReply From(const SimUnit &unit, QByteArray bytes)
    {
        return {std::move(bytes), unit.ReplyDelayMs(), unit.LineFaults()};
    }
};

// One protocol's slave side: turns a received frame into the reply the
// addressed unit would send. Knows nothing of ports or timing.
class SimSlave
{
public:
    virtual ~SimSlave() = default;
    virtual SimReply Answer(QByteArrayView request) = 0;
};
