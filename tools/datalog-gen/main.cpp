// datalog-gen: data log month files of a simulated site.
#include "SiteDataLog.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>

#include <cstdio>
#include <exception>

namespace {

const char kUsage[] =
    "Usage: datalog-gen [--units N] [--interval SECONDS] [--months N] [--offline] DIR YYYY-MM\n"
    "\n"
    "Writes the data log month files (DataLogYYYY_MM.dat) of a simulated site into\n"
    "DIR, starting at the month given: N units (default 252) recorded every\n"
    "SECONDS (default 60) for N months (default 1). --offline lets units drop off\n"
    "the bus for a few hours now and then, which leaves gaps in their series.\n";

int Usage()
{
    std::fputs(kUsage, stderr);
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    TSiteDataSpec spec;
    int months = 1;
    QStringList positional;
    for (int i = 1; i < args.size(); ++i) {
        const QString &arg = args[i];
        bool ok = true;
        if (arg == QLatin1String("--offline"))
            spec.OfflineHours = true;
        else if (arg == QLatin1String("--units") && i + 1 < args.size())
            spec.Units = args[++i].toInt(&ok);
        else if (arg == QLatin1String("--interval") && i + 1 < args.size())
            spec.IntervalSeconds = args[++i].toInt(&ok);
        else if (arg == QLatin1String("--months") && i + 1 < args.size())
            months = args[++i].toInt(&ok);
        else if (arg.startsWith(QLatin1String("--")))
            return Usage();
        else
            positional.push_back(arg);
        if (!ok)
            return Usage();
    }
    const QDate first = positional.size() == 2
        ? QDate::fromString(positional[1] + QStringLiteral("-01"), QStringLiteral("yyyy-MM-dd")) : QDate();
    if (!first.isValid() || spec.Units < 1 || spec.Units > 252 || spec.IntervalSeconds < 1 || months < 1)
        return Usage();
    try {
        QDir().mkpath(positional[0]);
        for (int m = 0; m < months; ++m) {
            const QDate month = first.addMonths(m);
            const qint64 records = WriteSiteMonth(positional[0], month.year(), month.month(), spec);
            std::printf("%s: %lld records\n", qPrintable(month.toString(QStringLiteral("yyyy-MM"))),
                        static_cast<long long>(records));
        }
    } catch (const std::exception &error) {
        std::fprintf(stderr, "datalog-gen: %s\n", error.what());
        return 1;
    }
    return 0;
}
