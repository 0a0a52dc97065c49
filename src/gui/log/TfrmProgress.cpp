#include "gui/log/TfrmProgress.h"

#include "model/TextLanguage.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

TfrmProgress::TfrmProgress(quint8 language, QWidget *parent)
    : QDialog(parent), FLanguage(language), FText(new QLabel(this)), FBar(new QProgressBar(this)),
      FCount(new QLabel(this)), FCancel(new QPushButton(this))
{
    setObjectName(QStringLiteral("frmProgress"));
    setWindowTitle(QStringLiteral("Orvan 2000"));
    setWindowModality(Qt::ApplicationModal);
    FText->setObjectName(QStringLiteral("StaticText1"));
    FBar->setObjectName(QStringLiteral("PrgBar1"));
    FBar->setTextVisible(false);
    FCount->setObjectName(QStringLiteral("stCount"));
    FCount->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    FCount->setMinimumWidth(80);
    FCancel->setObjectName(QStringLiteral("btnCancel"));
    connect(FCancel, &QPushButton::clicked, this, &TfrmProgress::reject);

    auto *row = new QHBoxLayout;
    row->addWidget(FBar, 1);
    row->addWidget(FCount);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(FCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(FText);
    layout->addLayout(row);
    layout->addLayout(buttons);
    setMinimumWidth(380);
    SetLanguage(language);
    SetProgress(0, 0);
}

void TfrmProgress::SetLanguage(quint8 language)
{
    FLanguage = language;
    FCancel->setText(LanguageText(IsChineseLanguage(FLanguage), "取消", "Cancel"));
}

void TfrmProgress::SetProgress(qint64 done, qint64 total)
{
    const qint64 shown = std::min(done, total);
    // The bar counts in int; scale very large exports down to fit.
    const qint64 scale = std::max<qint64>(1, total / 1000000000 + 1);
    FBar->setMaximum(static_cast<int>(total / scale));
    FBar->setValue(static_cast<int>(std::max<qint64>(shown, 0) / scale));
    FText->setText(LanguageText(IsChineseLanguage(FLanguage), "正在汇出......", "Remitting......"));
    FCount->setText(QString::number(shown));
}

void TfrmProgress::Start(qint64 total)
{
    FCancelled = false;
    SetProgress(0, total);
    show();
}

void TfrmProgress::reject()
{
    // The close button of the title bar and Escape cancel as the button does.
    FCancelled = true;
    QDialog::reject();
}
