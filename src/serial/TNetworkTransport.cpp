#include "serial/TNetworkTransport.h"

#include "protocol/ModbusTcpFrame.h"
#include "serial/ECommsError.h"

TNetworkTransport::TNetworkTransport(TNetworkKind kind, QObject *parent)
    : TBusTransport(parent), FKind(kind)
{
    connect(&FLink, &TTcpLink::statusChanged, this, [this](const TLinkStatus &status) {
        if (status.Phase == TLinkPhase::Connected)
            ForgetReceived();
        emit OnLinkStatusChanged(status);
    });
    connect(&FLink, &TTcpLink::linkLost, this, [this] { ForgetReceived(); });
    connect(&FLink, &TTcpLink::bytesArrived, this, &TNetworkTransport::TakeBytes);
}

TNetworkTransport::~TNetworkTransport()
{
    // The link's last report must not reach a transport half taken down.
    FLink.disconnect(this);
    FLink.Stop();
}

void TNetworkTransport::Open()
{
    if (IsOpen())
        throw ECommsError("This port is already open");
    QString error;
    const std::optional<TNetworkAddress> address = ParseNetworkPortName(CommName(), &error);
    if (!address)
        throw ECommsError(error.toStdString());
    if (address->Kind != FKind)
        throw ECommsError("This transport serves the other kind of network port");
    ForgetReceived();
    FLink.Start(address->Host, address->Port);
}

void TNetworkTransport::Close()
{
    FLink.Stop();
    ForgetReceived();
}

TRawTcpTransport::TRawTcpTransport(QObject *parent) : TNetworkTransport(TNetworkKind::RawTcp, parent)
{
    FCutter.SetSilenceMs(ReadIntervalTimeout());
    connect(&FCutter, &TBlockCutter::blockStarted, this, &TRawTcpTransport::OnReceiveStarted);
    connect(&FCutter, &TBlockCutter::blockReady, this, &TRawTcpTransport::OnReceiveData);
}

bool TRawTcpTransport::SendData(QByteArrayView bytes)
{
    return Link().Write(bytes);
}

TModbusTcpTransport::TModbusTcpTransport(QObject *parent) : TNetworkTransport(TNetworkKind::ModbusTcp, parent)
{
}

bool TModbusTcpTransport::SendData(QByteArrayView bytes)
{
    if (!Link().Connected())
        return false;
    const quint16 transactionId = ++FLastTransactionId;
    const QByteArray adu = RtuToModbusTcp(bytes, transactionId);
    if (adu.isEmpty())
        return false;
    FAwaitedTransactionId = transactionId;
    emit OnFrameEnvelope(true, adu.first(kMbapHeaderSize));
    return Link().Write(adu);
}

void TModbusTcpTransport::ForgetReceived()
{
    ++FSession;
    FStream.clear();
    FAwaitedTransactionId.reset();
}

void TModbusTcpTransport::TakeBytes(const QByteArray &bytes, qint64 nowMs)
{
    FStream.append(bytes);
    for (;;) {
        const int length = ModbusTcpAduLength(FStream);
        if (length < 0) {
            Link().Drop(QStringLiteral("The peer sent data that is no Modbus TCP"));
            return;
        }
        if (length == 0)
            return;
        const QByteArray adu = FStream.first(length);
        FStream.remove(0, length);
        if (!DeliverAdu(adu, nowMs))
            return;
    }
}

bool TModbusTcpTransport::DeliverAdu(const QByteArray &adu, qint64 nowMs)
{
    const TMbapHeader header = ReadMbapHeader(adu);
    if (!FAwaitedTransactionId || header.TransactionId != *FAwaitedTransactionId) {
        emit OnStrayFrame();
        return true;
    }
    FAwaitedTransactionId.reset();
    const quint64 session = FSession;
    emit OnReceiveStarted();
    if (session != FSession)
        return false;
    emit OnFrameEnvelope(false, adu.first(kMbapHeaderSize));
    emit OnReceiveData(ModbusTcpToRtu(adu), nowMs);
    return session == FSession;
}
