#pragma once

#include "log/TTextGrid.h"

#include <QString>

#include <functional>
#include <vector>

class QWidget;
class TfrmProgress;

// The questions a log window puts to the user. Tests answer them without
// opening a dialog.
struct TLogWindowPrompts {
    // Yes or No, No being the default, with a warning icon.
    std::function<bool(QWidget *parent, const QString &text, const QString &caption)> Confirm;
    // The name to export to; empty when the user cancels. The dialog asks
    // nothing about a file of that name: the export asks about the name it
    // really writes.
    std::function<QString(QWidget *parent)> AskSaveFileName;
    std::function<void(QWidget *parent, const QString &message)> ShowError;

    // Message boxes and the save dialog.
    static TLogWindowPrompts Dialogs();
};

// Exports the grid, as shown, to a CSV file the user names (".csv" is
// appended unless the name holds it), asking first when a file of the name
// written already exists, and reporting in `progress` (or a progress window
// of its own when none is given), whose Cancel stops it. A cancelled export
// leaves no file and any earlier one as it was. Throws ELogFileError when the
// file cannot be written.
void ExportGridCsv(QWidget *parent, const TTextGrid &grid, const std::vector<int> &columns, quint8 language,
                   const TLogWindowPrompts &prompts, TfrmProgress *progress = nullptr);

// The overwrite question for `path`, and its caption.
QString ReplaceFileQuestion(const QString &path, quint8 language);
QString ReplaceFileCaption(quint8 language);
