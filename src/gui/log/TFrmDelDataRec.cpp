#include "gui/log/TFrmDelDataRec.h"

#include "log/MonthFiles.h"
#include "model/TextLanguage.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

TFrmDelDataRec::TFrmDelDataRec(const QString &recordDir, quint8 language, std::function<void()> reloadViewer,
                               QWidget *parent)
    : QDialog(parent), FRecordDir(recordDir), FLanguage(language), FReloadViewer(std::move(reloadViewer)),
      FLabel1(new QLabel(this)), FLabel2(new QLabel(this)), FList(new QListWidget(this)),
      FDelete(new QPushButton(this))
{
    setObjectName(QStringLiteral("FrmDelDataRec"));
    FLabel1->setObjectName(QStringLiteral("Label1"));
    FLabel2->setObjectName(QStringLiteral("Label2"));
    FLabel1->setWordWrap(true);
    FLabel2->setWordWrap(true);
    FList->setObjectName(QStringLiteral("ListBox1"));
    FDelete->setObjectName(QStringLiteral("btnDelete"));
    FDelete->setToolTip(QStringLiteral("删除所选项对应的月记录"));

    auto *side = new QVBoxLayout;
    side->addWidget(FLabel1);
    side->addWidget(FLabel2);
    side->addStretch(1);
    side->addWidget(FDelete);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(FList, 1);
    layout->addLayout(side, 1);
    resize(520, 300);

    connect(FDelete, &QPushButton::clicked, this, &TFrmDelDataRec::btnDeleteClick);
}

void TFrmDelDataRec::ApplyLanguage()
{
    const bool zh = IsChineseLanguage(FLanguage);
    setWindowTitle(LanguageText(zh, "删除月记录", "Delete Data Log"));
    FDelete->setText(LanguageText(zh, "删除该月记录", "Delete Record Of This Month"));
    FLabel1->setText(LanguageText(zh, "从下表中选择要删除的月数据记录,然后点击删除按钮!",
                                  "In left list, select a item that you want to delete, and then click deleting button,"));
    FLabel2->setText(LanguageText(zh, "列表项解析: 如DataLog2008_12表示的是2008年12月的月记录!",
                                  "data section of every item express time of this log."));
}

void TFrmDelDataRec::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    ApplyLanguage();
    ListMonths();
}

void TFrmDelDataRec::ListMonths()
{
    FList->clear();
    FList->addItems(ListMonthEntries(FRecordDir));
}

void TFrmDelDataRec::btnDeleteClick()
{
    const bool zh = IsChineseLanguage(FLanguage);
    if (!Prompts.Confirm(this, LanguageText(zh, "你确定要删除该月数据日志? ", "Are you sure delete data log of this month ?"),
                         LanguageText(zh, "请确认", "Confirm")))
        return;
    QListWidgetItem *item = FList->currentItem();
    if (!item || !item->isSelected())
        return;
    const QString entry = item->text();
    QString error;
    if (!DeleteMonthEntry(FRecordDir, entry, &error)) {
        // The entry stays: the file is still there, and the user should know.
        Prompts.ShowError(this, LanguageText(zh, "无法删除 %1: %2", "Cannot delete %1: %2")
                                    .arg(MonthEntryPath(FRecordDir, entry), error));
        return;
    }
    if (FReloadViewer)
        FReloadViewer();
    delete FList->takeItem(FList->row(item));
}
