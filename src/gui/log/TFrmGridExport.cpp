#include "gui/log/TFrmGridExport.h"

#include "gui/log/TfrmProgress.h"
#include "log/GridCsvExport.h"
#include "model/TextLanguage.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
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
        return QFileDialog::getSaveFileName(parent, QString(), QString(), QStringLiteral(".csv (*.csv)"), nullptr,
                                            QFileDialog::DontConfirmOverwrite);
    };
    prompts.ShowError = [](QWidget *parent, const QString &message) {
        QMessageBox::critical(parent, QStringLiteral("Orvan 2000"), message);
    };
    return prompts;
}

QString ReplaceFileQuestion(const QString &path, quint8 language)
{
    const QString name = QFileInfo(path).fileName();
    return IsChineseLanguage(language) ? QStringLiteral("“%1”已存在。要替换它吗？").arg(name)
                                       : QStringLiteral("\"%1\" already exists. Do you want to replace it?").arg(name);
}

QString ReplaceFileCaption(quint8 language)
{
    return LanguageText(IsChineseLanguage(language), "请确认", "Confirm");
}

void ExportGridCsv(QWidget *parent, const TTextGrid &grid, const std::vector<int> &columns, quint8 language,
                   const TLogWindowPrompts &prompts, TfrmProgress *progress)
{
    const QString chosen = prompts.AskSaveFileName(parent);
    if (chosen.isEmpty())
        return;
    const QString path = CsvFileName(chosen);
    if (QFileInfo::exists(path)
        && !prompts.Confirm(parent, ReplaceFileQuestion(path, language), ReplaceFileCaption(language)))
        return;

    std::unique_ptr<TfrmProgress> ownProgress;
    if (!progress) {
        ownProgress = std::make_unique<TfrmProgress>(language, parent);
        progress = ownProgress.get();
    }
    progress->SetLanguage(language);
    progress->Start(grid.GridRowCount() + 1);
    QApplication::processEvents();

    struct HideOnExit {
        TfrmProgress *Window;
        ~HideOnExit() { Window->hide(); }
    } hideOnExit{progress};
    // The progress window is modal: while it shows, the events let its
    // Cancel through and keep the program's timers running, and no other
    // window takes input.
    WriteGridCsv(grid, columns, path, [progress](int done, int total) {
        progress->SetProgress(done, total);
        QApplication::processEvents();
        return !progress->Cancelled();
    });
}
