#include "gui/log/TFrmDataLogSet.h"

#include "app/TSettings.h"
#include "log/DataLogInterval.h"
#include "model/TextLanguage.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

TFrmDataLogSet::TFrmDataLogSet(TSettings &settings, QWidget *parent)
    : QDialog(parent), FSettings(settings), FRecord(new QCheckBox(this)), FFrame(new QGroupBox(this)),
      FSpace(new QSpinBox(FFrame)), FBefore(new QLabel(FFrame)), FAfter(new QLabel(FFrame)),
      FOk(new QPushButton(this)), FCancel(new QPushButton(this))
{
    setObjectName(QStringLiteral("FrmDataLogSet"));
    FRecord->setObjectName(QStringLiteral("ckbRecord"));
    FFrame->setObjectName(QStringLiteral("GroupBox1"));
    FSpace->setObjectName(QStringLiteral("spedtSpace"));
    FSpace->setRange(kIntervalFieldMin, kIntervalFieldMax);
    FBefore->setObjectName(QStringLiteral("Label57"));
    FAfter->setObjectName(QStringLiteral("Label58"));
    FOk->setObjectName(QStringLiteral("bsSkinButton1"));
    FCancel->setObjectName(QStringLiteral("bsSkinButton2"));

    auto *fieldRow = new QHBoxLayout(FFrame);
    fieldRow->addWidget(FBefore);
    fieldRow->addWidget(FSpace);
    fieldRow->addWidget(FAfter);
    fieldRow->addStretch(1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(FOk);
    buttons->addWidget(FCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(FRecord);
    layout->addWidget(FFrame);
    layout->addLayout(buttons);

    const TIntervalField field = IntervalFieldFor(settings.RecInterval);
    FRecord->setChecked(field.Recording);
    FSpace->setValue(field.Seconds);
    UpdateFieldState();
    ApplyLanguage();

    connect(FRecord, &QCheckBox::toggled, this, &TFrmDataLogSet::UpdateFieldState);
    connect(FOk, &QPushButton::clicked, this, &TFrmDataLogSet::OkClick);
    connect(FCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TFrmDataLogSet::ApplyLanguage()
{
    const bool zh = IsChineseLanguage(FSettings.Language);
    setWindowTitle(LanguageText(zh, "数据日志设定", "Data Log Setting"));
    FRecord->setText(LanguageText(zh, "记录数据到日志中", "Save data to data log"));
    FBefore->setText(LanguageText(zh, "记录间隔:", "Record Interval:"));
    FAfter->setText(LanguageText(zh, "秒", "sec"));
    FOk->setText(LanguageText(zh, "确定", "OK"));
    FCancel->setText(LanguageText(zh, "取消", "Cancel"));
}

void TFrmDataLogSet::UpdateFieldState()
{
    FFrame->setEnabled(FRecord->isChecked());
}

void TFrmDataLogSet::OkClick()
{
    FSettings.RecInterval = RecIntervalFrom({FRecord->isChecked(), FSpace->value()});
    accept();
}
