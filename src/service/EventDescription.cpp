#include "service/EventDescription.h"

#include "log/TEventLogModel.h"
#include "log/TEventRec.h"
#include "model/TDeviceList.h"

namespace {

constexpr quint8 kEnglish = 0;

QString KindWord(const TEventRec &rec)
{
    switch (rec.Kind) {
    case kEventKindEvent: return QStringLiteral("event");
    case kEventKindState: return QStringLiteral("state");
    case kEventKindAlarm: return rec.Flag == kAlarmOccurred ? QStringLiteral("alarm") : QStringLiteral("alarm-cleared");
    default: return QString::number(rec.Kind);
    }
}

} // namespace

TEventDescription TEventDescription::Of(const TEventRec &rec, const TDeviceList &devices)
{
    TEventDescription out;
    out.Kind = KindWord(rec);
    out.Code = QString::number(rec.Code);
    out.Text = TEventLogModel::EventText(rec, kEnglish);
    out.Address = QString::number(rec.Addr);
    if (rec.Addr != 0)
        if (const TDeviceNode *device = devices.FindAddr(rec.Addr))
            out.Name = device->NameText();
    out.Time = FormatDateTime(rec.Time);
    return out;
}

QString TEventDescription::LogLine() const
{
    const QString text = Text.isEmpty() ? QStringLiteral("%1 code %2").arg(Kind, Code) : Text;
    // A name read from a damaged device file must not break the line.
    QString name = Name;
    for (QChar &c : name)
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char('?');
    const QString who = name.isEmpty() ? QStringLiteral("(address %1)").arg(Address)
                                       : QStringLiteral("%1 (address %2)").arg(name, Address);
    return QStringLiteral("%1 %2: %3").arg(Time, who, text);
}
