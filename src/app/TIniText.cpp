#include "app/TIniText.h"

#include <algorithm>

namespace {

const QByteArray kUtf8ByteOrderMark("\xEF\xBB\xBF");

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

} // namespace

TIniText::TIniText(const QByteArray &bytes)
{
    QByteArray body = bytes;
    if (body.startsWith(kUtf8ByteOrderMark)) {
        FByteOrderMark = kUtf8ByteOrderMark;
        body.remove(0, kUtf8ByteOrderMark.size());
    }
    qsizetype start = 0;
    while (start < body.size()) {
        const qsizetype newline = body.indexOf('\n', start);
        if (newline < 0) {
            FLines.push_back({body.mid(start), QByteArray()});
            break;
        }
        const bool crlf = newline > start && body[newline - 1] == '\r';
        const qsizetype textEnd = crlf ? newline - 1 : newline;
        FLines.push_back({body.mid(start, textEnd - start), crlf ? QByteArray("\r\n") : QByteArray("\n")});
        start = newline + 1;
    }
    // New lines follow the file's own convention, taken from its first line.
    if (!FLines.empty() && !FLines.front().End.isEmpty())
        FLineEnd = FLines.front().End;
}

std::optional<QByteArray> TIniText::SectionOf(const QByteArray &text)
{
    const QByteArray trimmed = text.trimmed();
    if (!trimmed.startsWith('['))
        return std::nullopt;
    const qsizetype close = trimmed.indexOf(']');
    if (close < 0)
        return std::nullopt; // an unclosed header opens nothing
    return trimmed.mid(1, close - 1).trimmed();
}

std::optional<QByteArray> TIniText::KeyOf(const QByteArray &text)
{
    const QByteArray trimmed = text.trimmed();
    if (trimmed.isEmpty() || trimmed.startsWith(';') || trimmed.startsWith('#') || trimmed.startsWith('['))
        return std::nullopt;
    const qsizetype equals = trimmed.indexOf('=');
    if (equals <= 0)
        return std::nullopt;
    QByteArray key = trimmed.left(equals).trimmed();
    if (key.isEmpty())
        return std::nullopt;
    return key;
}

bool TIniText::SameName(const QByteArray &a, const QByteArray &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

std::vector<int> TIniText::KeyLines(const QByteArray &section, const QByteArray &key) const
{
    std::vector<int> found;
    std::optional<QByteArray> current;
    for (int i = 0; i < static_cast<int>(FLines.size()); ++i) {
        const QByteArray &text = FLines[i].Text;
        if (const auto opened = SectionOf(text)) {
            current = opened;
            continue;
        }
        if (!current || !SameName(*current, section))
            continue;
        const auto lineKey = KeyOf(text);
        if (lineKey && SameName(*lineKey, key))
            found.push_back(i);
    }
    return found;
}

std::optional<QByteArray> TIniText::Value(const QByteArray &section, const QByteArray &key) const
{
    const std::vector<int> lines = KeyLines(section, key);
    if (lines.empty())
        return std::nullopt;
    const QByteArray &text = FLines[lines.back()].Text;
    return text.mid(text.indexOf('=') + 1).trimmed();
}

int TIniText::InsertionPoint(const QByteArray &section) const
{
    int point = -1;
    bool inSection = false;
    for (int i = 0; i < static_cast<int>(FLines.size()); ++i) {
        const QByteArray &text = FLines[i].Text;
        if (const auto opened = SectionOf(text)) {
            inSection = SameName(*opened, section);
            if (inSection)
                point = i + 1;
        } else if (inSection && KeyOf(text)) {
            point = i + 1;
        }
    }
    return point;
}

void TIniText::InsertLine(int index, const QByteArray &text)
{
    // A last line without a line end gets one before anything follows it.
    if (index > 0 && FLines[index - 1].End.isEmpty())
        FLines[index - 1].End = FLineEnd;
    FLines.insert(FLines.begin() + index, TLine{text, FLineEnd});
}

void TIniText::SetValue(const QByteArray &section, const QByteArray &key, const QByteArray &value)
{
    std::vector<int> lines = KeyLines(section, key);
    if (lines.empty()) {
        int point = InsertionPoint(section);
        if (point < 0) {
            point = static_cast<int>(FLines.size());
            InsertLine(point, '[' + section + ']');
            ++point;
        }
        InsertLine(point, key + '=' + value);
        return;
    }

    // Keep what surrounds the value: the key's spelling, blanks around the
    // equals sign and after the value.
    QByteArray &text = FLines[lines.back()].Text;
    qsizetype valueStart = text.indexOf('=') + 1;
    while (valueStart < text.size() && IsBlank(text[valueStart]))
        ++valueStart;
    qsizetype valueEnd = text.size();
    while (valueEnd > valueStart && IsBlank(text[valueEnd - 1]))
        --valueEnd;
    text = text.left(valueStart) + value + text.mid(valueEnd);

    lines.pop_back();
    for (auto it = lines.rbegin(); it != lines.rend(); ++it)
        FLines.erase(FLines.begin() + *it);
}

QByteArray TIniText::ToBytes() const
{
    QByteArray bytes = FByteOrderMark;
    for (const TLine &line : FLines)
        bytes += line.Text + line.End;
    return bytes;
}
