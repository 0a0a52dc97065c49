#pragma once

#include "gui/log/TFrmGridExport.h"

#include <QDialog>

#include <functional>

class QLabel;
class QListWidget;
class QPushButton;

// Lists the data log's month files and deletes the one the user picks,
// after asking. The data log viewer reloads after each deletion.
class TFrmDelDataRec : public QDialog {
    Q_OBJECT
public:
    TFrmDelDataRec(const QString &recordDir, quint8 language, std::function<void()> reloadViewer,
                   QWidget *parent = nullptr);

    TLogWindowPrompts Prompts = TLogWindowPrompts::Dialogs();

    void ApplyLanguage();
    void ListMonths();
    void btnDeleteClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QString FRecordDir;
    quint8 FLanguage;
    std::function<void()> FReloadViewer;
    QLabel *FLabel1;
    QLabel *FLabel2;
    QListWidget *FList;
    QPushButton *FDelete;
};
