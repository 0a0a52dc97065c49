#include "service/NutText.h"

#include <utility>

namespace NutText {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

} // namespace

std::optional<QList<QByteArray>> SplitLine(QByteArrayView line, bool hashComments)
{
    QList<QByteArray> words;
    QByteArray word;
    bool inWord = false;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '\\') {
            if (++i == line.size())
                return std::nullopt;
            word.append(line[i]);
            inWord = true;
        } else if (c == '"') {
            quoted = !quoted;
            inWord = true; // "" is an empty word
        } else if (!quoted && IsBlank(c)) {
            if (inWord)
                words.append(std::exchange(word, {}));
            inWord = false;
        } else if (!quoted && !inWord && hashComments && c == '#') {
            break;
        } else {
            word.append(c);
            inWord = true;
        }
    }
    if (quoted)
        return std::nullopt;
    if (inWord)
        words.append(word);
    return words;
}

QByteArray Quote(QByteArrayView utf8)
{
    QByteArray out;
    out.reserve(utf8.size() + 2);
    out.append('"');
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out.append('\\');
            out.append(c);
        } else if (byte < 0x20 || byte == 0x7F) {
            out.append(' ');
        } else {
            out.append(c);
        }
    }
    out.append('"');
    return out;
}

QString TextNamed(std::span<const TNamedText> table, QByteArrayView name)
{
    for (const TNamedText &row : table)
        if (name == row.Name)
            return QString::fromLatin1(row.Text);
    return {};
}

QByteArray QuoteText(const QString &text)
{
    return Quote(text.toUtf8());
}

} // namespace NutText
