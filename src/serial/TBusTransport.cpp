#include "serial/TBusTransport.h"

void TBusTransport::SetBaudRate(qint32 baudRate)
{
    FBaudRate = baudRate;
    LineSettingsChanged();
}

void TBusTransport::SetByteSize(TByteSize byteSize)
{
    FByteSize = byteSize;
    LineSettingsChanged();
}

void TBusTransport::SetParity(TParity parity)
{
    FParity = parity;
    LineSettingsChanged();
}

void TBusTransport::SetStopBits(TStopBits stopBits)
{
    FStopBits = stopBits;
    LineSettingsChanged();
}

void TBusTransport::SetReadIntervalTimeout(qint32 ms)
{
    FReadIntervalTimeout = qMax(0, ms);
    LineSettingsChanged();
}
