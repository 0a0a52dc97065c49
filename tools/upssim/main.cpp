// upssim: simulated UPS units on a serial bus, for demonstrations,
// commissioning without hardware and the monitor's end-to-end tests.

#include "AsciiSlave.h"
#include "ModbusSlave.h"
#include "ModbusTcpSlave.h"
#include "SimBus.h"
#include "SimPort.h"
#include "SimScenario.h"
#include "SimTcpServer.h"
#include "protocol/ModbusTcpFrame.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSocketNotifier>
#include <QTimer>

#include <cstdio>
#include <memory>
#include <unistd.h>

namespace {

const char kHelpDetails[] = R"(
The first line on standard output is the device to give the monitor as its
port (ComName): a pseudo-terminal such as /dev/pts/5, the --port device,
tcp://127.0.0.1:PORT for --listen or modbus-tcp://127.0.0.1:PORT for
--modbus-tcp, with the port actually bound (PORT 0 takes any free port; an
IPv6 server prints e.g. tcp://[::1]:PORT). Frame ends are found by silence
on the line, as on a real slave (--gap). Replies keep the time of a real
line: each is written once the request and the reply would have crossed the
line at --baud (8N1) and the unit has taken its --turnaround, counted from
the request's first byte.

Network servers (ADDRESS is an IPv4 address, [IPv6] or a host name):
  --listen      raw TCP, as a serial device server: the bytes of each
                connection are a line of their own, with the same framing,
                timing and line faults as the pseudo-terminal; several
                clients may connect, each gets only its own replies.
  --modbus-tcp  Modbus TCP (--protocol modbus only): each ADU is cut by its
                MBAP length and answered as the RTU request of its unit
                identifier, with the same transaction and unit identifiers.
                No wire time: a reply leaves after --turnaround and the
                unit's delay=. twice= sends two ADUs run together, split=
                two writes; noise= does not apply; a reply with a bad CRC
                (malformed=checksum) is dropped, as a gateway does. Absent
                and silent units do not answer. A stream that is not Modbus
                TCP closes its connection.

Protocols:
  modbus  Modbus RTU. Function 4 reads input registers 30001-30014,
          30021-30038 and 30081-30091; function 3 reads holding registers
          40001-40029; functions 6 and 16 write 20001 (turn on), 20002 (turn
          off), 20003 (battery test seconds, 0 cancels), 40002-40029
          (parameters, read back) and 50000. The address field holds the
          register number minus one (30001 is 0x7530). Other registers or
          functions get a Modbus exception; bad CRCs get no reply.

  ydt     YD/T V3.1 ASCII frames (VER 31, CID1 2A): 42H voltages, 43H status
          words, 44H alarm words, 80H loads and battery currents, 82H backup
          time and capacity, values in hundredths.
  rorizu  ROrizu ASCII frames (VER 11, CID1 2A): 41H voltages as floats, 43H
          supply and switch items, 44H alarm items, E2H loads, E3H backup time.
          ASCII requests with a bad checksum, version, LENGTH or command get
          the replies RTN 02, 01, 03 or 04.

Unit settings (--set, --event and the config file), key=value:
  state=NAME      online, battery, test, bypass, eco, standby, softstart,
                  nooutput, epo, maintbypass. battery also fails the mains;
                  test runs until cancelled (battest=0).
  mains=VOLTS     mains phase voltage; outside +-20 % of nominal (40005) the
                  unit goes to battery and back when the mains return.
  freq=HZ         mains frequency.
  load=PERCENT    load on each phase; above 100 raises the overload alarm.
  capacity=PCT    battery charge; it falls on battery and rises on mains.
  alarm=CODE      raise an alarm by the monitor's alarm code (0-25, 32-56,
                  64-71 in the alarm words; 100-155, 160, 201-210 in the
                  ROrizu alarm items);
                  clear=CODE or clear=all drops raised alarms.
  silent=1|0      stop answering / answer again.
  delay=MS        wait before each reply, beyond its wire time (a late reply).
  split=MS        send each reply in two halves, MS of silence between.
  twice=1|0       send each reply twice, run together.
  answeras=ADDR   replies carry this address instead of the unit's (0: own).
  noise=MS|off    a burst of garbage bytes MS after each reply.
  malformed=KIND  none; checksum (bad CRC or CHKSUM); length (Modbus read
                  reply one register short, ASCII LENGTH two too many); rtn04
                  (ASCII RTN 04 without INFO, Modbus exception 4); lowercase
                  (ASCII in lower-case hex); nocr (ASCII without the closing
                  carriage return); eoi (ASCII closed by a line feed).
  battest=SECONDS same as a write of 20003.
  REGISTER=VALUE  write a register as a master would, e.g. 20002=1, 40022=10.
  FIELD=VALUE     pin a reading to a value, FIELD being one of inputvolt[a|b|c],
                  outputvolt[a|b|c], loadpercent[a|b|c], outputfreq,
                  posbattvolt, negbattvolt, poschargecurrent, negchargecurrent,
                  posdischargecurrent, negdischargecurrent, battcapacity,
                  battbackuptime, upsstatecode, cmmstate1, cmmstate2,
                  invstate1, invstate2, cmmalarm1, cmmalarm2, invalarm1,
                  invalarm2, sysstate, sysalarm, and for the ROrizu status
                  reply inputswitch, outputswitch, bypassswitch,
                  maintbypassswitch (1 closed), inputsupply (0 none, 1 mains,
                  2 battery), upssupply (0 none, 1 inverter, 2 bypass);
                  numbers may be hex (0x..); FIELD=auto
                  lets it follow the simulation again.
  wobble=FACTOR   size of the small swings of voltages and loads (0: steady).
  speed=FACTOR    battery charge and discharge run FACTOR times faster.
  softstart=SEC   length of the soft start after a turn-on (default 2).

Automatic alarms: mains abnormal (25; ROrizu 202), low battery on battery
when the backup time falls to the pre-alarm time 40022 (23; 209), overload
(51; 119), battery exhausted (21; 206); the unit shuts down (standby) when the
battery is empty.

Config file (--config FILE, JSON):
  { "protocol": "modbus",
    "all":    { "load": 35 },
    "units":  [ { "address": 1, "state": "online", "load": 60 },
                { "address": 3, "alarm": [9, 40] } ],
    "events": [ { "at": 10, "unit": 1, "mains": 0 },
                { "at": 40, "unit": 1, "mains": 220 },
                { "at": 20, "unit": "*", "silent": true } ] }
Command-line options are applied after the file.

Examples:
  upssim --units 1,3,7
  upssim --protocol ydt --units 1-3 --malformed checksum
  upssim --units 1-4 --steady --event 10:2:mains=0 --event 60:2:mains=220
  upssim --units 1 --set 1:alarm=9,load=80 --event 30:1:silent=1 --event 45:1:silent=0
  upssim --units 1,2 --commands      then type e.g. 2:mains=0 or silent=1
  upssim --units 1-4 --listen 127.0.0.1:4001
  upssim --units 1,2 --modbus-tcp [::1]:1502 --set 2:delay=2000
)";

// Applies the settings lines typed or piped on standard input, one
// "[UNIT:]key=value,..." per line, as they arrive. Each line is answered on
// standard output, "ok" or "error: ...", once it has taken effect, so that a
// test knows the bus has changed before it sends the next request.
class CommandReader
{
public:
    explicit CommandReader(SimBus &bus)
        : m_bus(bus)
        , m_notifier(STDIN_FILENO, QSocketNotifier::Read)
    {
        QObject::connect(&m_notifier, &QSocketNotifier::activated, [this] { ReadAvailable(); });
    }

private:
    void ReadAvailable()
    {
        char chunk[4096];
        const ssize_t count = ::read(STDIN_FILENO, chunk, sizeof chunk);
        if (count <= 0) {
            // End of input: the units keep running on their own.
            m_notifier.setEnabled(false);
            return;
        }
        m_pending.append(chunk, count);
        qsizetype end;
        while ((end = m_pending.indexOf('\n')) >= 0) {
            const QString line = QString::fromLocal8Bit(m_pending.left(end)).trimmed();
            m_pending.remove(0, end + 1);
            if (!line.isEmpty())
                Apply(line);
        }
    }

    void Apply(const QString &line)
    {
        QString error;
        const auto event = SimScenario::ParseUnitSettings(line, &error);
        if (!event || !m_bus.Apply(event->unit, event->settings, &error)) {
            std::fprintf(stderr, "upssim: %s\n", qPrintable(error));
            std::fflush(stderr);
            std::printf("error: %s\n", qPrintable(error));
        } else {
            std::printf("ok\n");
        }
        std::fflush(stdout);
    }

    SimBus &m_bus;
    QSocketNotifier m_notifier;
    QByteArray m_pending;
};

int Fail(const QString &message)
{
    std::fprintf(stderr, "upssim: %s\n", qPrintable(message));
    return 2;
}

QString SettingsText(const SimEvent &event)
{
    QStringList parts;
    for (const SimSetting &setting : event.settings)
        parts.append(setting.key + QLatin1Char('=') + setting.value);
    return parts.join(QLatin1Char(','));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("upssim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Simulated UPS units answering on a serial bus or over TCP."));
    const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("Show this help."));
    const QCommandLineOption protocolOption(QStringLiteral("protocol"),
                                            QStringLiteral("Protocol: modbus (default), ydt or rorizu."),
                                            QStringLiteral("NAME"));
    const QCommandLineOption unitsOption(QStringLiteral("units"),
                                         QStringLiteral("Unit addresses from 1 to 252, e.g. 1,3,7 or 1-4 (default 1)."),
                                         QStringLiteral("LIST"));
    const QCommandLineOption portOption(QStringLiteral("port"),
                                        QStringLiteral("Serial device to answer on instead of a new pseudo-terminal."),
                                        QStringLiteral("DEVICE"));
    const QCommandLineOption listenOption(QStringLiteral("listen"),
                                          QStringLiteral("Serve the bus on raw TCP connections instead of a pseudo-terminal."),
                                          QStringLiteral("ADDRESS:PORT"));
    const QCommandLineOption modbusTcpOption(QStringLiteral("modbus-tcp"),
                                             QStringLiteral("Serve the units as a Modbus TCP server instead of a pseudo-terminal."),
                                             QStringLiteral("ADDRESS:PORT"));
    const QCommandLineOption baudOption(QStringLiteral("baud"),
                                        QStringLiteral("Baud rate of --port, and of the wire time (default 9600)."),
                                        QStringLiteral("RATE"), QStringLiteral("9600"));
    const QCommandLineOption turnaroundOption(QStringLiteral("turnaround"),
                                              QStringLiteral("Ms a unit takes between a request and its reply (default 5)."),
                                              QStringLiteral("MS"), QStringLiteral("5"));
    const QCommandLineOption gapOption(QStringLiteral("gap"),
                                       QStringLiteral("Silence in ms that ends a request (default 5)."),
                                       QStringLiteral("MS"), QStringLiteral("5"));
    const QCommandLineOption configOption(QStringLiteral("config"),
                                          QStringLiteral("JSON scenario file."), QStringLiteral("FILE"));
    const QCommandLineOption setOption(QStringLiteral("set"),
                                       QStringLiteral("Starting settings of one unit or, without UNIT, of all."),
                                       QStringLiteral("[UNIT:]KEY=VALUE,..."));
    const QCommandLineOption eventOption(QStringLiteral("event"),
                                         QStringLiteral("Settings applied SECONDS after start to UNIT (or * for all)."),
                                         QStringLiteral("SECONDS:UNIT:KEY=VALUE,..."));
    const QCommandLineOption malformedOption(QStringLiteral("malformed"),
                                             QStringLiteral("Spoil every reply of every unit (see malformed=)."),
                                             QStringLiteral("KIND"));
    const QCommandLineOption steadyOption(QStringLiteral("steady"),
                                          QStringLiteral("No swings: values stay exactly as set."));
    const QCommandLineOption speedOption(QStringLiteral("speed"),
                                         QStringLiteral("Battery charge and discharge run FACTOR times faster."),
                                         QStringLiteral("FACTOR"));
    const QCommandLineOption commandsOption(QStringLiteral("commands"),
                                            QStringLiteral("Apply [UNIT:]KEY=VALUE,... lines read from standard input."));
    const QCommandLineOption verboseOption({QStringLiteral("v"), QStringLiteral("verbose")},
                                           QStringLiteral("Print every frame and scenario step on standard error."));
    parser.addOptions({helpOption, protocolOption, unitsOption, portOption, listenOption, modbusTcpOption,
                       baudOption, turnaroundOption, gapOption, configOption, setOption, eventOption,
                       malformedOption, steadyOption, speedOption, commandsOption, verboseOption});
    if (!parser.parse(QCoreApplication::arguments()))
        return Fail(parser.errorText());
    if (parser.isSet(helpOption)) {
        std::printf("%s%s", qPrintable(parser.helpText()), kHelpDetails);
        return 0;
    }
    if (parser.isSet(portOption) + parser.isSet(listenOption) + parser.isSet(modbusTcpOption) > 1)
        return Fail(QStringLiteral("--port, --listen and --modbus-tcp exclude each other"));

    QString error;
    SimScenario scenario;
    if (parser.isSet(configOption) && !scenario.LoadJson(parser.value(configOption), &error))
        return Fail(error);
    if (parser.isSet(protocolOption))
        scenario.protocol = parser.value(protocolOption);
    if (scenario.protocol.isEmpty())
        scenario.protocol = QStringLiteral("modbus");
    if (parser.isSet(unitsOption)) {
        const auto units = SimScenario::ParseUnitList(parser.value(unitsOption), &error);
        if (!units)
            return Fail(error);
        scenario.units = *units;
    }
    if (scenario.units.isEmpty())
        scenario.units = {1};

    QList<SimSetting> shortcuts;
    if (parser.isSet(steadyOption))
        shortcuts.append({QStringLiteral("wobble"), QStringLiteral("0")});
    if (parser.isSet(speedOption))
        shortcuts.append({QStringLiteral("speed"), parser.value(speedOption)});
    if (parser.isSet(malformedOption))
        shortcuts.append({QStringLiteral("malformed"), parser.value(malformedOption)});
    if (!shortcuts.isEmpty())
        scenario.initialSettings.append({0, 0, shortcuts});
    for (const QString &text : parser.values(setOption)) {
        const auto setting = SimScenario::ParseUnitSettings(text, &error);
        if (!setting)
            return Fail(error);
        scenario.initialSettings.append(*setting);
    }
    for (const QString &text : parser.values(eventOption)) {
        const auto event = SimScenario::ParseEvent(text, &error);
        if (!event)
            return Fail(error);
        scenario.events.append(*event);
    }

    SimBus bus;
    if (!scenario.Build(bus, &error))
        return Fail(error);

    std::unique_ptr<SimSlave> slave;
    const QString protocol = scenario.protocol.toLower();
    if (protocol == QLatin1String("modbus"))
        slave = std::make_unique<ModbusSlave>(bus);
    else if (protocol == QLatin1String("ydt"))
        slave = std::make_unique<AsciiSlave>(bus, AsciiSlave::Dialect::Ydt);
    else if (protocol == QLatin1String("rorizu"))
        slave = std::make_unique<AsciiSlave>(bus, AsciiSlave::Dialect::Rorizu);
    else
        return Fail(QStringLiteral("unknown protocol '%1' (modbus, ydt or rorizu)").arg(scenario.protocol));
    if (parser.isSet(modbusTcpOption) && protocol != QLatin1String("modbus"))
        return Fail(QStringLiteral("--modbus-tcp needs --protocol modbus, not %1").arg(protocol));

    bool gapOk = false;
    const int gapMs = parser.value(gapOption).toInt(&gapOk);
    if (!gapOk || gapMs < 1 || gapMs > 10000)
        return Fail(QStringLiteral("bad --gap value"));
    bool baudOk = false;
    const int baud = parser.value(baudOption).toInt(&baudOk);
    if (!baudOk || baud <= 0)
        return Fail(QStringLiteral("bad --baud value"));
    bool turnaroundOk = false;
    const int turnaroundMs = parser.value(turnaroundOption).toInt(&turnaroundOk);
    if (!turnaroundOk || turnaroundMs < 0 || turnaroundMs > 10000)
        return Fail(QStringLiteral("bad --turnaround value"));
    const bool trace = parser.isSet(verboseOption);
    const bool traceAsText = protocol != QLatin1String("modbus");
    const auto makePort = [&](SimSlave &answering, int lineBaud, QObject *parent) {
        auto *port = new SimPort(answering, gapMs, parent);
        port->SetTrace(trace, traceAsText);
        port->SetLineTiming(lineBaud, turnaroundMs);
        return port;
    };
    std::unique_ptr<SimPort> linePort;
    std::unique_ptr<ModbusTcpSlave> modbusTcp;
    std::unique_ptr<SimTcpServer> server;
    QString device;
    if (parser.isSet(listenOption)) {
        server = std::make_unique<SimTcpServer>([&](QObject *parent) { return makePort(*slave, baud, parent); });
        if (!server->Listen(parser.value(listenOption), &error))
            return Fail(error);
        device = server->Url(QStringLiteral("tcp"));
    } else if (parser.isSet(modbusTcpOption)) {
        modbusTcp = std::make_unique<ModbusTcpSlave>(*slave);
        server = std::make_unique<SimTcpServer>([&](QObject *parent) {
            // A Modbus TCP unit has no serial line to take wire time.
            SimPort *port = makePort(*modbusTcp, 0, parent);
            port->CutFramesBy(ModbusTcpAduLength);
            return port;
        });
        if (!server->Listen(parser.value(modbusTcpOption), &error))
            return Fail(error);
        device = server->Url(QStringLiteral("modbus-tcp"));
    } else {
        linePort.reset(makePort(*slave, baud, nullptr));
        if (parser.isSet(portOption)) {
            device = parser.value(portOption);
            if (!linePort->OpenDevice(device, baud, &error))
                return Fail(error);
        } else if (!linePort->OpenPty(&device, &error)) {
            return Fail(error);
        }
    }
    std::printf("%s\n", qPrintable(device));
    std::fflush(stdout);

    if (parser.isSet(verboseOption)) {
        bus.SetEventObserver([](const SimEvent &event) {
            std::fprintf(stderr, "at %g s, unit %s: %s\n", event.at,
                         event.unit ? qPrintable(QString::number(event.unit)) : "*",
                         qPrintable(SettingsText(event)));
            std::fflush(stderr);
        });
    }

    std::unique_ptr<CommandReader> commands;
    if (parser.isSet(commandsOption))
        commands = std::make_unique<CommandReader>(bus);

    QElapsedTimer clock;
    clock.start();
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] { bus.AdvanceTo(clock.elapsed() / 1000.0); });
    tick.start(100);
    return app.exec();
}
