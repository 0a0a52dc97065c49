#include "log/TCsvWriter.h"

#include "log/ELogFileError.h"
#include "serial/GbkText.h"

#include <algorithm>

namespace {

constexpr qsizetype kFlushChars = 1 << 20;

bool NeedsQuotes(QStringView text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) {
        return c == u',' || c == u'"' || c == u'\r' || c == u'\n';
    });
}

bool IsAscii(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

} // namespace

TCsvWriter::TCsvWriter(QIODevice &out, TEncoding encoding)
    : FOut(out), FEncoding(encoding)
{
    FPending.reserve(kFlushChars + 4096);
}

QString TCsvWriter::CellField(QStringView text)
{
    if (!NeedsQuotes(text))
        return text.toString() + u',';
    QString quoted = text.toString();
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + QStringLiteral("\",");
}

void TCsvWriter::AppendField(QString &line, QStringView text)
{
    if (NeedsQuotes(text))
        line += CellField(text);
    else {
        line += text;
        line += u',';
    }
}

void TCsvWriter::AppendLineEnd(QString &line)
{
    line += QStringLiteral("\r\n");
}

void TCsvWriter::AddCell(QStringView text)
{
    AppendField(FPending, text);
}

void TCsvWriter::EndLine()
{
    AppendLineEnd(FPending);
    FlushWhenFull();
}

void TCsvWriter::AddLines(QStringView lines)
{
    FPending += lines;
    FlushWhenFull();
}

void TCsvWriter::FlushWhenFull()
{
    if (FPending.size() >= kFlushChars)
        Flush();
}

void TCsvWriter::Flush()
{
    if (FPending.isEmpty())
        return;
    QByteArray bytes;
    if (IsAscii(FPending))
        bytes = FPending.toLatin1(); // the same bytes in either encoding, and far quicker
    else if (FEncoding == TEncoding::Gbk)
        bytes = GbkFromString(FPending);
    else
        bytes = FPending.toUtf8();
    FPending.resize(0); // keeps the buffer for the next piece
    if (FOut.write(bytes) != bytes.size())
        throw ELogFileError(QStringLiteral("Cannot write the file. %1").arg(FOut.errorString()));
}
