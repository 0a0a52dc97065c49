#pragma once

#include <QIODevice>
#include <QString>
#include <QStringView>

// Writes comma-separated lines the way our exported files have always
// looked: every cell followed by a comma, the last one included, and lines
// ended by CR LF. A cell holding a comma, a quote or a line break is quoted
// with its quotes doubled, so that it stays one column; every other cell is
// written exactly as it stands. Output is buffered and converted to the
// chosen encoding in large pieces.
class TCsvWriter {
public:
    enum class TEncoding { Gbk, Utf8 };

    explicit TCsvWriter(QIODevice &out, TEncoding encoding = TEncoding::Gbk);

    void AddCell(QStringView text);
    void EndLine();
    // Whole lines already built with AppendField and AppendLineEnd.
    void AddLines(QStringView lines);

    // Writes out what is buffered. Throws ELogFileError when the device
    // refuses it. Call it before closing the device: nothing is written on
    // destruction.
    void Flush();

    // The cell as it goes into a line, comma included.
    static QString CellField(QStringView text);
    static void AppendField(QString &line, QStringView text);
    static void AppendLineEnd(QString &line);

private:
    void FlushWhenFull();

    QIODevice &FOut;
    TEncoding FEncoding;
    QString FPending;
};
