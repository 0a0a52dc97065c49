// orvan-log: the event log or the data log as CSV on standard output, with
// the columns, texts and number formats of the log viewers, for a period
// and a device when asked. Records are read and written one block at a
// time, so a month of a large site takes little memory.
#include "log/ELogFileError.h"
#include "log/MonthFiles.h"
#include "log/TCsvWriter.h"
#include "log/TDataLogModel.h"
#include "log/TEventLog.h"
#include "log/TEventLogModel.h"
#include "log/TRecordFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <clocale>
#include <cstdio>
#include <langinfo.h>
#include <limits>
#include <optional>

namespace {

constexpr int kExitFileError = 1;
constexpr int kExitUsage = 2;

const char kUsage[] =
    "Usage: orvan-log [--lang en|zh] [--encoding utf8|gbk] [--from TIME] [--to TIME]\n"
    "                 [--address N] events FILE | data FILE|DIR\n"
    "\n"
    "Prints an event log file (events) or the data log (data) as CSV on standard\n"
    "output: the viewers' columns, texts and number formats, events newest first,\n"
    "samples in file order. For data, FILE is one month file (DataLogYYYY_MM.dat)\n"
    "and DIR a directory of them (the Record directory): its month files of the\n"
    "period are read one after the other, oldest first.\n"
    "\n"
    "  --from      only records stamped TIME or later\n"
    "  --to        only records stamped before TIME; a date alone means the end\n"
    "              of that day\n"
    "              TIME is local time as the logs keep it: YYYY-MM-DD,\n"
    "              \"YYYY-MM-DD HH:MM\" or \"YYYY-MM-DD HH:MM:SS\" (or a T for the blank)\n"
    "  --address   only records of the device at bus address N (1 to 255)\n"
    "  --lang      language of the texts and headers (default en)\n"
    "  --encoding  utf8 or gbk (default: the encoding of the locale, gbk under\n"
    "              a GBK or GB18030 locale and utf8 otherwise; the viewers'\n"
    "              exported files are gbk)\n";

// Which records are printed: [From, To) and one address or all (0).
struct TRecordChoice {
    TDateTime From = -std::numeric_limits<double>::infinity();
    TDateTime To = std::numeric_limits<double>::infinity();
    quint16 Addr = 0;

    bool Matches(TDateTime time, std::uint8_t addr) const
    {
        return (Addr == 0 || Addr == addr) && time >= From && time < To;
    }
};

struct TOptions {
    QString Kind;
    QString File;
    quint8 Language = 0;
    TCsvWriter::TEncoding Encoding = TCsvWriter::TEncoding::Gbk;
    TRecordChoice Choice;
};

// A stamp of --from or --to; a date alone is its midnight, or for the end
// of a period the next one.
std::optional<TDateTime> ParseStamp(QString text, bool periodEnd)
{
    text.replace(QLatin1Char('T'), QLatin1Char(' '));
    const QDate day = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
    if (day.isValid())
        return EncodeDateTime(periodEnd ? day.addDays(1) : day, QTime(0, 0));
    for (const QString &format : {QStringLiteral("yyyy-MM-dd HH:mm:ss"), QStringLiteral("yyyy-MM-dd HH:mm")}) {
        const QDateTime stamp = QDateTime::fromString(text, format);
        if (stamp.isValid())
            return EncodeDateTime(stamp.date(), stamp.time());
    }
    return std::nullopt;
}

// Command-line tools follow the locale, so their output reads right in a
// terminal, a pipe or a file alike. The plain C locale's ASCII cannot hold
// the Chinese texts, so it gets UTF-8 too.
TCsvWriter::TEncoding LocaleEncoding()
{
    std::setlocale(LC_CTYPE, "");
    const QByteArray codeset = QByteArray(nl_langinfo(CODESET)).toUpper();
    const bool gbk = codeset == "GBK" || codeset == "GB18030" || codeset == "GB2312" || codeset == "CP936";
    return gbk ? TCsvWriter::TEncoding::Gbk : TCsvWriter::TEncoding::Utf8;
}

std::optional<TOptions> ParseArguments(const QStringList &args)
{
    TOptions options;
    options.Encoding = LocaleEncoding();
    QStringList positional;
    for (int i = 1; i < args.size(); ++i) {
        const QString &arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == QLatin1String("--lang") && hasValue) {
            const QString value = args[++i];
            if (value != QLatin1String("en") && value != QLatin1String("zh"))
                return std::nullopt;
            options.Language = value == QLatin1String("zh") ? 1 : 0;
        } else if (arg == QLatin1String("--encoding") && hasValue) {
            const QString value = args[++i];
            if (value == QLatin1String("utf8"))
                options.Encoding = TCsvWriter::TEncoding::Utf8;
            else if (value == QLatin1String("gbk"))
                options.Encoding = TCsvWriter::TEncoding::Gbk;
            else
                return std::nullopt;
        } else if ((arg == QLatin1String("--from") || arg == QLatin1String("--to")) && hasValue) {
            const bool end = arg == QLatin1String("--to");
            const std::optional<TDateTime> stamp = ParseStamp(args[++i], end);
            if (!stamp)
                return std::nullopt;
            (end ? options.Choice.To : options.Choice.From) = *stamp;
        } else if (arg == QLatin1String("--address") && hasValue) {
            bool number = false;
            const int addr = args[++i].toInt(&number);
            if (!number || addr < 1 || addr > 255)
                return std::nullopt;
            options.Choice.Addr = static_cast<quint16>(addr);
        } else if (arg.startsWith(QLatin1String("--"))) {
            return std::nullopt;
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.size() != 2)
        return std::nullopt;
    options.Kind = positional[0];
    options.File = positional[1];
    if (options.Kind != QLatin1String("events") && options.Kind != QLatin1String("data"))
        return std::nullopt;
    return options;
}

// A missing file reads as no records to the stores; here it is an error.
// The data log may be given as its directory.
void CheckReadable(const QString &path, bool directoryWillDo)
{
    const QFileInfo info(path);
    if (!info.exists())
        throw ELogFileError(QStringLiteral("Cannot open file \"%1\". No such file.").arg(path));
    if (info.isDir() && directoryWillDo)
        return;
    if (!info.isFile())
        throw ELogFileError(QStringLiteral("Cannot open file \"%1\". It is not a file.").arg(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ELogFileError(QStringLiteral("Cannot open file \"%1\". %2").arg(path, file.errorString()));
}

template <typename HeaderText>
void WriteHeader(TCsvWriter &csv, int columns, HeaderText headerText)
{
    for (int column = 0; column < columns; ++column)
        csv.AddCell(headerText(column));
    csv.EndLine();
}

void PrintEvents(const TOptions &options, TCsvWriter &csv)
{
    std::vector<TEventRow> rows =
        TEventLogModel::BuildRows(TEventLog::ReadEventFile(options.File), {}, options.Language);
    std::erase_if(rows, [&](const TEventRow &row) { return !options.Choice.Matches(row.Time, row.Addr); });
    WriteHeader(csv, TEventLogModel::kColumnCount,
                [&](int column) { return TEventLogModel::HeaderText(column, options.Language); });
    // Newest first, as the viewer opens: by index ascending.
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        for (int column = 0; column < TEventLogModel::kColumnCount; ++column)
            csv.AddCell(TEventLogModel::CellText(*row, column));
        csv.EndLine();
    }
}

void PrintSamples(const TOptions &options, TCsvWriter &csv)
{
    WriteHeader(csv, TDataLogModel::kColumnCount,
                [&](int column) { return TDataLogModel::HeaderText(column, options.Language); });
    const QStringList files = QFileInfo(options.File).isDir()
        ? MonthFilesOfPeriod(options.File, options.Choice.From, options.Choice.To) : QStringList{options.File};
    for (const QString &file : files)
        TRecordFile::ForEachRecord<TDataRec>(
            file,
            [&](const TDataRec &rec) {
                if (!options.Choice.Matches(rec.Time, rec.Addr))
                    return;
                for (int column = 0; column < TDataLogModel::kColumnCount; ++column)
                    csv.AddCell(TDataLogModel::CellText(rec, column));
                csv.EndLine();
            },
            [](qint64, qint64) {});
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const std::optional<TOptions> options = ParseArguments(QCoreApplication::arguments());
    if (!options) {
        std::fputs(kUsage, stderr);
        return kExitUsage;
    }
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly)) {
        std::fputs("orvan-log: cannot write to standard output\n", stderr);
        return kExitFileError;
    }
    try {
        CheckReadable(options->File, options->Kind == QLatin1String("data"));
        TCsvWriter csv(out, options->Encoding);
        if (options->Kind == QLatin1String("events"))
            PrintEvents(*options, csv);
        else
            PrintSamples(*options, csv);
        csv.Flush();
        out.flush();
    } catch (const std::exception &error) {
        std::fprintf(stderr, "orvan-log: %s\n", error.what());
        return kExitFileError;
    }
    return 0;
}
