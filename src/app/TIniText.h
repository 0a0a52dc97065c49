#pragma once

#include <QByteArray>

#include <optional>
#include <vector>

// A settings file held as its lines. Values are found by section and key
// without regard to case; writing a value changes only the value bytes of
// that key's line, so every other line keeps its bytes (comments, stray
// lines, 8-bit text, an unclosed section header) and the file keeps its
// line ends. Files are often copied from older installations and edited by
// hand, and what the program does not own must survive a save.
class TIniText
{
public:
    TIniText() = default;
    explicit TIniText(const QByteArray &bytes);

    // The trimmed value of the key; when the key appears more than once in
    // the section (or in sections of the same name), the last one counts.
    std::optional<QByteArray> Value(const QByteArray &section, const QByteArray &key) const;

    // Sets the value of the last such key line and drops the earlier ones,
    // so the value read back is the one written. A missing key is added
    // after the last key of its section; a missing section is added at the
    // end of the file.
    void SetValue(const QByteArray &section, const QByteArray &key, const QByteArray &value);

    QByteArray ToBytes() const;

private:
    struct TLine
    {
        QByteArray Text; // without its line end
        QByteArray End;  // "\r\n", "\n", or empty for a last line without one
    };
    struct TKeyLine
    {
        int Index = -1;
        QByteArray Section;
    };

    // The section a header line opens, or nothing for any other line.
    static std::optional<QByteArray> SectionOf(const QByteArray &text);
    // The key of a key line, or nothing for a header, comment or stray line.
    static std::optional<QByteArray> KeyOf(const QByteArray &text);
    static bool SameName(const QByteArray &a, const QByteArray &b);

    std::vector<int> KeyLines(const QByteArray &section, const QByteArray &key) const;
    // Where a new key of the section goes: after its last key or header
    // line; -1 when the file has no such section.
    int InsertionPoint(const QByteArray &section) const;
    void InsertLine(int index, const QByteArray &text);

    QByteArray FByteOrderMark;
    std::vector<TLine> FLines;
    QByteArray FLineEnd = "\n"; // what new lines end with: the file's own style
};
