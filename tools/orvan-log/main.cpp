// orvan-log: the event log or a data log month file as CSV on standard
// output, with the columns, texts and number formats of the log viewers.
#include "log/ELogFileError.h"
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
#include <optional>

namespace {

constexpr int kExitFileError = 1;
constexpr int kExitUsage = 2;

const char kUsage[] =
    "Usage: orvan-log [--lang en|zh] [--encoding utf8|gbk] events|data FILE\n"
    "\n"
    "Prints an event log file (events) or a data log month file (data) as CSV\n"
    "on standard output: the viewers' columns, texts and number formats, events\n"
    "newest first, samples in file order.\n"
    "\n"
    "  --lang      language of the texts and headers (default en)\n"
    "  --encoding  utf8 or gbk (default: the encoding of the locale, gbk under\n"
    "              a GBK or GB18030 locale and utf8 otherwise; the viewers'\n"
    "              exported files are gbk)\n";

struct TOptions {
    QString Kind;
    QString File;
    quint8 Language = 0;
    TCsvWriter::TEncoding Encoding = TCsvWriter::TEncoding::Gbk;
};

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
void CheckReadable(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        throw ELogFileError(QStringLiteral("Cannot open file \"%1\". No such file.").arg(path));
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
    const std::vector<TEventRow> rows =
        TEventLogModel::BuildRows(TEventLog::ReadEventFile(options.File), {}, options.Language);
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
    TRecordFile::ForEachRecord<TDataRec>(
        options.File,
        [&csv](const TDataRec &rec) {
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
        CheckReadable(options->File);
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
