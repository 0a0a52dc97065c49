#include "gui/log/TFrmGridExport.h"

#include "gui/log/TfrmProgress.h"
#include "log/GridCsvExport.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

#include <memory>

TLogWindowPrompts TLogWindowPrompts::Dialogs()
{
    TLogWindowPrompts prompts;
    prompts.Confirm = [](QWidget *parent, const QString &text, const QString &caption) {
        return QMessageBox::warning(parent, caption, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
            == QMessageBox::Yes;
    };
    prompts.AskSaveFileName = [](QWidget *parent) {
        return QFileDialog::getSaveFileName(parent, QString(), QString(), QStringLiteral(".csv (*.csv)"));
    };
    prompts.ShowError = [](QWidget *parent, const QString &message) {
        QMessageBox::critical(parent, QStringLiteral("Orvan 2000"), message);
    };
    return prompts;
}

void ExportGridCsv(QWidget *parent, const TTextGrid &grid, const std::vector<int> &columns, quint8 language,
                   const TLogWindowPrompts &prompts, TfrmProgress *progress)
{
    const QString chosen = prompts.AskSaveFileName(parent);
    if (chosen.isEmpty())
        return;
    const QString path = CsvFileName(chosen);

    std::unique_ptr<TfrmProgress> ownProgress;
    if (!progress) {
        ownProgress = std::make_unique<TfrmProgress>(language, parent);
        progress = ownProgress.get();
    }
    progress->SetLanguage(language);
    progress->SetProgress(0, grid.GridRowCount() + 1);
    progress->show();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);

    struct CloseOnExit {
        TfrmProgress *Window;
        ~CloseOnExit() { Window->close(); }
    } closeOnExit{progress};
    WriteGridCsv(grid, columns, path, [progress](int done, int total) {
        progress->SetProgress(done, total);
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
}
