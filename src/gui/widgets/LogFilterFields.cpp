#include "gui/widgets/LogFilterFields.h"

#include "log/ViewerDate.h"
#include "model/TextLanguage.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>

namespace {

QSpinBox *NumberField(const char *name, int min, int max, QWidget *owner)
{
    auto *field = new QSpinBox(owner);
    field->setObjectName(QString::fromLatin1(name));
    field->setRange(min, max);
    return field;
}

} // namespace

LogFilterFields::LogFilterFields(QWidget *owner, const char *yearName, const char *monthName, const char *dayName)
    : QObject(owner), FYear(NumberField(yearName, kYearFieldMin, kYearFieldMax, owner)),
      FMonth(NumberField(monthName, 1, 12, owner)), FDay(NumberField(dayName, 1, 31, owner)),
      FYearLabel(new QLabel(owner)), FMonthLabel(new QLabel(owner)), FDayLabel(new QLabel(owner)),
      FAddrCheck(new QCheckBox(owner)), FAddr(NumberField("SpinAddr", 1, 254, owner)), FRow(new QHBoxLayout)
{
    FAddrCheck->setObjectName(QStringLiteral("CheckBox1"));
    FAddr->setEnabled(false);
    connect(FAddrCheck, &QCheckBox::toggled, FAddr, &QWidget::setEnabled);
    FRow->addWidget(FYear);
    FRow->addWidget(FYearLabel);
    FRow->addWidget(FMonth);
    FRow->addWidget(FMonthLabel);
    FRow->addWidget(FDay);
    FRow->addWidget(FDayLabel);
    FRow->addSpacing(16);
    FRow->addWidget(FAddrCheck);
    FRow->addWidget(FAddr);
    FRow->addStretch(1);
}

void LogFilterFields::ApplyLanguage(bool chinese)
{
    FAddrCheck->setText(LanguageText(chinese, "指定设备地址:", "Specify Equipment Address:"));
    FYearLabel->setText(LanguageText(chinese, "年", "Year"));
    FMonthLabel->setText(LanguageText(chinese, "月", "Month"));
    FDayLabel->setText(LanguageText(chinese, "日", "Date"));
}

void LogFilterFields::SetDate(const TDateFields &date)
{
    FYear->setValue(date.Year);
    FMonth->setValue(date.Month);
    FDay->setValue(date.Day);
}

quint16 LogFilterFields::AddrFilter() const
{
    return FAddrCheck->isChecked() ? static_cast<quint16>(FAddr->value()) : 0;
}
