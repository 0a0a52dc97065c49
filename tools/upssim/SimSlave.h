#pragma once

#include <QByteArray>
#include <QByteArrayView>

// The answer of the bus to one received frame. Empty bytes: nobody answers.
struct SimReply
{
    QByteArray bytes;
    int delayMs = 0;
};

// One protocol's slave side: turns a received frame into the reply the
// addressed unit would send. Knows nothing of ports or timing.
class SimSlave
{
public:
    virtual ~SimSlave() = default;
    virtual SimReply Answer(QByteArrayView request) = 0;
};
