#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <optional>
#include <span>

// The word rules of the NUT network protocol and of its users file: words
// are separated by blanks, a word in double quotes may hold blanks, and a
// backslash takes the next character as it is, inside quotes or not.
namespace NutText {

// The words of one line; nothing when a quote is left open or the line ends
// in a lone backslash. With hashComments, a '#' outside quotes at the start
// of a word ends the line (the users file; the network has no comments, so
// a password may hold a '#').
std::optional<QList<QByteArray>> SplitLine(QByteArrayView line, bool hashComments = false);

// A value as a quoted word: quotes and backslashes escaped, and control
// characters turned into blanks so that no value can end a reply line.
QByteArray Quote(QByteArrayView utf8);
QByteArray QuoteText(const QString &text);

// A row of a fixed table of names and their words (descriptions of
// variables and commands).
struct TNamedText {
    const char *Name;
    const char *Text;
};

// The words of the row with this name; empty when no row has it.
QString TextNamed(std::span<const TNamedText> table, QByteArrayView name);

} // namespace NutText
