#include "gui/log/TfrmProgress.h"

#include "model/TextLanguage.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include <algorithm>

TfrmProgress::TfrmProgress(quint8 language, QWidget *parent)
    : QDialog(parent), FLanguage(language), FText(new QLabel(this)), FBar(new QProgressBar(this)),
      FCount(new QLabel(this))
{
    setObjectName(QStringLiteral("frmProgress"));
    setWindowTitle(QStringLiteral("Orvan 2000"));
    FText->setObjectName(QStringLiteral("StaticText1"));
    FBar->setObjectName(QStringLiteral("PrgBar1"));
    FBar->setTextVisible(false);
    FCount->setObjectName(QStringLiteral("stCount"));
    FCount->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    FCount->setMinimumWidth(80);

    auto *row = new QHBoxLayout;
    row->addWidget(FBar, 1);
    row->addWidget(FCount);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(FText);
    layout->addLayout(row);
    setMinimumWidth(380);
    SetProgress(0, 0);
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
