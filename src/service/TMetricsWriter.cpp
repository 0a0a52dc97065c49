#include "service/TMetricsWriter.h"

#include <charconv>
#include <cmath>

void TMetricsWriter::Family(const char *name, const char *type, const char *help)
{
    FName = name;
    FText += "# HELP " + FName + ' ' + EscapeHelp(help) + '\n';
    FText += "# TYPE " + FName + ' ' + type + '\n';
}

void TMetricsWriter::Sample(const TLabels &labels, double value)
{
    SampleLine(labels, FormatValue(value));
}

void TMetricsWriter::Sample(const TLabels &labels, std::uint64_t value)
{
    SampleLine(labels, QByteArray::number(static_cast<qulonglong>(value)));
}

void TMetricsWriter::SampleLine(const TLabels &labels, const QByteArray &value)
{
    FText += FName;
    if (!labels.empty()) {
        FText += '{';
        bool first = true;
        for (const auto &[name, text] : labels) {
            if (!first)
                FText += ',';
            first = false;
            FText += name;
            FText += "=\"" + EscapeLabelValue(text) + '"';
        }
        FText += '}';
    }
    FText += ' ' + value + '\n';
}

QByteArray TMetricsWriter::FormatValue(double value)
{
    if (std::isnan(value))
        return QByteArrayLiteral("NaN");
    if (std::isinf(value))
        return value > 0 ? QByteArrayLiteral("+Inf") : QByteArrayLiteral("-Inf");
    // Decoders scale integers by 0.1 or 0.01, and 15 significant digits
    // give back the decimal value a reply carried ("220.7", never
    // "220.70000000000002").
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    return QByteArray(buffer, static_cast<qsizetype>(result.ptr - buffer));
}

QByteArray TMetricsWriter::EscapeLabelValue(QStringView value)
{
    const QByteArray utf8 = value.toUtf8();
    QByteArray out;
    out.reserve(utf8.size());
    for (const char c : utf8) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '"': out += "\\\""; break;
        case '\n': out += "\\n"; break;
        default: out += c;
        }
    }
    return out;
}

QByteArray TMetricsWriter::EscapeHelp(const char *help)
{
    QByteArray out;
    for (const char *c = help; *c != '\0'; ++c) {
        switch (*c) {
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        default: out += *c;
        }
    }
    return out;
}
