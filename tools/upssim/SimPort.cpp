#include "SimPort.h"

#include "serial/LineTiming.h"

#include <QDateTime>
#include <QSerialPort>
#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

SimPort::SimPort(SimSlave &slave, int gapMs, QObject *parent) : QObject(parent), m_slave(slave)
{
    m_silence.setSingleShot(true);
    m_silence.setTimerType(Qt::PreciseTimer);
    m_silence.setInterval(gapMs);
    connect(&m_silence, &QTimer::timeout, this, &SimPort::EndOfFrame);
    m_clock.start();
}

SimPort::~SimPort()
{
    delete m_notifier;
    if (m_ptyMaster >= 0)
        ::close(m_ptyMaster);
    if (m_ptySlave >= 0)
        ::close(m_ptySlave);
}

bool SimPort::OpenPty(QString *slavePath, QString *error)
{
    // Raw line settings, so that no byte of a binary frame is translated or
    // echoed before the master sets its own.
    termios raw{};
    cfmakeraw(&raw);
    cfsetispeed(&raw, B9600);
    cfsetospeed(&raw, B9600);
    char name[256] = {};
    if (::openpty(&m_ptyMaster, &m_ptySlave, name, &raw, nullptr) != 0) {
        *error = QStringLiteral("cannot open a pseudo-terminal: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    // Keeping our own slave descriptor open means the master never reads an
    // end of file while no monitor has the device open.
    ::fcntl(m_ptyMaster, F_SETFL, ::fcntl(m_ptyMaster, F_GETFL) | O_NONBLOCK);
    m_notifier = new QSocketNotifier(m_ptyMaster, QSocketNotifier::Read);
    connect(m_notifier, &QSocketNotifier::activated, this, &SimPort::ReadPty);
    *slavePath = QString::fromLocal8Bit(name);
    return true;
}

bool SimPort::OpenDevice(const QString &device, int baud, QString *error)
{
    auto *serial = new QSerialPort(device, this);
    serial->setBaudRate(baud);
    serial->setDataBits(QSerialPort::Data8);
    serial->setParity(QSerialPort::NoParity);
    serial->setStopBits(QSerialPort::OneStop);
    serial->setFlowControl(QSerialPort::NoFlowControl);
    if (!serial->open(QIODevice::ReadWrite)) {
        *error = QStringLiteral("cannot open %1: %2").arg(device, serial->errorString());
        return false;
    }
    AttachStream(serial);
    return true;
}

void SimPort::AttachStream(QIODevice *stream)
{
    m_stream = stream;
    m_stream->setParent(this);
    connect(m_stream, &QIODevice::readyRead, this, [this] { Receive(m_stream->readAll()); });
}

void SimPort::ReadPty()
{
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(m_ptyMaster, buffer, sizeof buffer);
        if (n > 0) {
            Receive(QByteArray(buffer, n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break; // EAGAIN: all read
    }
}

void SimPort::Receive(const QByteArray &bytes)
{
    if (m_frame.isEmpty())
        m_frameStartMs = m_clock.elapsed();
    m_frame.append(bytes);
    if (m_frameLength)
        CutFrames();
    else
        m_silence.start();
}

void SimPort::CutFrames()
{
    for (;;) {
        const int length = m_frameLength(m_frame);
        if (length == 0)
            return;
        if (length < 0) {
            Trace("RX", m_frame);
            m_frame.clear();
            if (m_stream)
                m_stream->close();
            return;
        }
        const QByteArray request = m_frame.first(length);
        m_frame.remove(0, length);
        Answer(request, m_frameStartMs);
        // The next frame arrived with this one, as far as we can tell.
        m_frameStartMs = m_clock.elapsed();
    }
}

qint64 SimPort::ReplyDueMs(qint64 requestStartMs, int requestBytes, int replyBytes, int delayMs) const
{
    constexpr int kStopBits = 1;
    const double wireMs = WireTimeMs(requestBytes + replyBytes, m_baud, kStopBits);
    return requestStartMs + WholeMsUp(wireMs) + m_turnaroundMs + delayMs;
}

void SimPort::EndOfFrame()
{
    m_silence.stop();
    const QByteArray request = m_frame;
    m_frame.clear();
    if (!request.isEmpty())
        Answer(request, m_frameStartMs);
}

void SimPort::Answer(const QByteArray &request, qint64 requestStartMs)
{
    Trace("RX", request);
    const SimReply reply = m_slave.Answer(request);
    if (reply.bytes.isEmpty())
        return;
    const qint64 due = ReplyDueMs(requestStartMs, static_cast<int>(request.size()),
                                  static_cast<int>(reply.bytes.size()), reply.delayMs);
    const qint64 waitMs = due - m_clock.elapsed();
    if (waitMs > 0)
        QTimer::singleShot(static_cast<int>(waitMs), Qt::PreciseTimer, this, [this, reply] { Deliver(reply); });
    else
        Deliver(reply);
}

void SimPort::Deliver(const SimReply &reply)
{
    const SimLineFaults &faults = reply.faults;
    const QByteArray bytes = faults.twice ? reply.bytes + reply.bytes : reply.bytes;
    int sentAfterMs = 0;
    if (faults.splitPauseMs > 0) {
        const qsizetype half = bytes.size() / 2;
        Send(bytes.first(half));
        QTimer::singleShot(faults.splitPauseMs, Qt::PreciseTimer, this,
                           [this, rest = bytes.sliced(half)] { Send(rest); });
        sentAfterMs = faults.splitPauseMs;
    } else {
        Send(bytes);
    }
    if (faults.noiseAfterMs >= 0) {
        // Neither a Modbus frame nor an ASCII one: a start character, a
        // carriage return and bytes no frame is made of.
        static const QByteArray kNoise("\x00\xFF~\x55\xAA\r\x13\xFE", 8);
        QTimer::singleShot(sentAfterMs + faults.noiseAfterMs, Qt::PreciseTimer, this, [this] { Send(kNoise); });
    }
}

void SimPort::Send(const QByteArray &bytes)
{
    Trace("TX", bytes);
    if (m_stream) {
        m_stream->write(bytes);
        return;
    }
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(m_ptyMaster, bytes.constData() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break; // nobody reads the other side and its buffer is full: the reply is lost
        written += n;
    }
}

void SimPort::Trace(const char *direction, const QByteArray &bytes) const
{
    if (!m_trace)
        return;
    const QByteArray time = QDateTime::currentDateTime().toString(QStringLiteral("hh:mm:ss.zzz")).toLatin1();
    QByteArray shown = bytes.toHex(' ').toUpper();
    if (m_traceAsText) {
        shown.clear();
        for (char c : bytes)
            shown += (c >= 0x20 && c < 0x7F) ? QByteArray(1, c) : "<" + QByteArray::number(quint8(c), 16).toUpper() + ">";
    }
    std::fprintf(stderr, "%s %s %s\n", time.constData(), direction, shown.constData());
    std::fflush(stderr);
}
