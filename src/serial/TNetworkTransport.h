#pragma once

#include "serial/ComPortName.h"
#include "serial/TBlockCutter.h"
#include "serial/TBusTransport.h"
#include "serial/TTcpLink.h"

#include <optional>

// What the two network transports share: the address in CommName, a TCP
// link that keeps itself up, and the link's state told to the owner.
class TNetworkTransport : public TBusTransport
{
    Q_OBJECT

public:
    explicit TNetworkTransport(TNetworkKind kind, QObject *parent = nullptr);
    ~TNetworkTransport() override;

    // Reads the address from CommName and starts connecting; the connection
    // comes up (or fails and is retried) later. Throws ECommsError for an
    // address that is malformed or of the other kind.
    void Open() override;
    void Close() override;
    bool IsOpen() const override { return FLink.Started(); }
    qintptr Handle() const override { return FLink.Handle(); }
    TLinkStatus LinkStatus() const override { return FLink.Status(); }

protected:
    TTcpLink &Link() { return FLink; }
    // A new connection is up, or the last one went down: nothing received
    // before belongs to what comes after.
    virtual void ForgetReceived() = 0;
    virtual void TakeBytes(const QByteArray &bytes, qint64 nowMs) = 0;

private:
    TNetworkKind FKind;
    TTcpLink FLink;
};

// The bus bytes through a raw TCP connection: blocks are cut exactly as on a
// serial line, by silence and frame ends.
class TRawTcpTransport : public TNetworkTransport
{
    Q_OBJECT

public:
    explicit TRawTcpTransport(QObject *parent = nullptr);
    void SetFrameEnd(TFrameEnd frameEnd) override { FCutter.SetFrameEnd(std::move(frameEnd)); }
    bool SendData(QByteArrayView bytes) override;

protected:
    void LineSettingsChanged() override { FCutter.SetSilenceMs(ReadIntervalTimeout()); }
    void ForgetReceived() override { FCutter.Reset(); }
    void TakeBytes(const QByteArray &bytes, qint64 nowMs) override { FCutter.Take(bytes, nowMs); }

private:
    TBlockCutter FCutter;
};

// Modbus TCP: each RTU frame the engine sends leaves as an ADU with a new
// transaction identifier, the bus address as unit identifier and no CRC;
// a received ADU is complete by its header's length and is handed over as
// the RTU frame of the same content (with a CRC of its own) only when it
// carries the transaction identifier of the request in flight. Anything
// else (a reply that came after its request was given up, a second copy)
// is dropped and counted as stray. A stream that stops making sense is
// given up and connected again.
class TModbusTcpTransport : public TNetworkTransport
{
    Q_OBJECT

public:
    explicit TModbusTcpTransport(QObject *parent = nullptr);
    // ADUs carry their own length; the engine's frame ends are not needed.
    void SetFrameEnd(TFrameEnd) override {}
    bool SendData(QByteArrayView bytes) override;

protected:
    void ForgetReceived() override;
    void TakeBytes(const QByteArray &bytes, qint64 nowMs) override;

private:
    // Hands over one complete ADU; false when the owner closed on it.
    bool DeliverAdu(const QByteArray &adu, qint64 nowMs);

    QByteArray FStream;
    quint16 FLastTransactionId = 0;
    std::optional<quint16> FAwaitedTransactionId;
    // Counts closes and reconnections, so that no delivery outlives its stream.
    quint64 FSession = 0;
};
