#include "gui/control/TFrmDataSet.h"

#include "app/TMonitorState.h"
#include "gui/widgets/DigitKeyFilter.h"
#include "model/TextLanguage.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

using ParaSetRules::TEditor;

namespace {

// A group of the two choices "Enable" and "Disable" (ids 0 and 1), the same
// words in both languages.
QGroupBox *EnableDisableGroup(const char *name, QButtonGroup *&choice, QWidget *parent)
{
    auto *group = new QGroupBox(parent);
    group->setObjectName(QLatin1String(name));
    choice = new QButtonGroup(group);
    auto *layout = new QVBoxLayout(group);
    const char *const items[] = {"Enable", "Disable"};
    for (int id = 0; id < 2; ++id) {
        auto *button = new QRadioButton(QLatin1String(items[id]), group);
        button->setObjectName(QStringLiteral("%1Item%2").arg(QLatin1String(name)).arg(id));
        choice->addButton(button, id);
        layout->addWidget(button);
    }
    return group;
}

} // namespace

TFrmDataSet::TFrmDataSet(TMonitorState &state, std::function<bool()> portOpened, QWidget *parent)
    : QDialog(parent), FState(state), FPortOpened(std::move(portOpened)), FListTitle(new QLabel(this)),
      FList(new QListWidget(this)), FSetting(new QGroupBox(this)), FValueLabel(new QLabel(FSetting)),
      FCombo(new QComboBox(FSetting)), FEdit(new QLineEdit(FSetting)), FSetTo(new QPushButton(FSetting)),
      FBuzzer(EnableDisableGroup("RadioGroup4", FBuzzerChoice, FSetting)),
      FBoostCharge(EnableDisableGroup("RadioGroup5", FBoostChoice, FSetting))
{
    setObjectName(QStringLiteral("FrmDataSet"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    FListTitle->setObjectName(QStringLiteral("Label1"));
    FList->setObjectName(QStringLiteral("ListBox1"));
    FList->setFixedWidth(250);
    FSetting->setObjectName(QStringLiteral("grpSetting"));
    FValueLabel->setObjectName(QStringLiteral("lb_Value"));
    FCombo->setObjectName(QStringLiteral("ComboBox1"));
    FCombo->setEditable(false);
    FEdit->setObjectName(QStringLiteral("Edit1"));
    DigitKeyFilter::Install(FEdit, true);
    FSetTo->setObjectName(QStringLiteral("btnSetTo"));
    FSetTo->setAutoDefault(false);

    ShowMessage = [this](const QString &text) { QMessageBox::information(this, windowTitle(), text); };

    auto *setting = new QVBoxLayout(FSetting);
    setting->setSpacing(8);
    setting->addWidget(FValueLabel);
    setting->addWidget(FCombo);
    setting->addWidget(FEdit);
    setting->addWidget(FBuzzer);
    setting->addWidget(FBoostCharge);
    setting->addSpacing(6);
    setting->addWidget(FSetTo, 0, Qt::AlignRight);
    auto *right = new QVBoxLayout;
    right->addSpacing(FListTitle->sizeHint().height() + 6);
    right->addWidget(FSetting);
    right->addStretch(1);
    auto *left = new QVBoxLayout;
    left->addWidget(FListTitle);
    left->addWidget(FList, 1);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(14);
    layout->addLayout(left);
    layout->addLayout(right, 1);
    setFixedSize(500, 470);

    // Creation: no editor until a row is clicked; placeholder rows that
    // ApplyLanguage names.
    SetupEditor(TEditor::None);
    for (const ParaSetRules::TRow &row : ParaSetRules::Rows(FState.ModelName))
        FList->addItem(QString::number(row.Index));
    ApplyLanguage();

    connect(FList, &QListWidget::currentRowChanged, this, &TFrmDataSet::ListBox1Click);
    connect(FList, &QListWidget::itemClicked, this,
            [this](QListWidgetItem *item) { ListBox1Click(FList->row(item)); });
    connect(FSetTo, &QPushButton::clicked, this, &TFrmDataSet::btnSetToClick);
}

void TFrmDataSet::showEvent(QShowEvent *event)
{
    ApplyLanguage();
    QDialog::showEvent(event);
}

void TFrmDataSet::ApplyLanguage()
{
    const quint8 language = FState.Settings.Language;
    const bool zh = IsChineseLanguage(language);
    setWindowTitle(LanguageText(zh, "数据设置", "Data Set"));
    FListTitle->setText(LanguageText(zh, "项目名称", "Name"));
    FValueLabel->setText(LanguageText(zh, "数值", "Value"));
    FSetTo->setText(LanguageText(zh, "设置", "Set"));
    FBuzzer->setTitle(LanguageText(zh, "蜂鸣器", "Buzzer"));
    FBoostCharge->setTitle(LanguageText(zh, "均充", "Boost Charge"));
    const std::vector<ParaSetRules::TRow> rows = ParaSetRules::Rows(FState.ModelName);
    for (std::size_t i = 0; i < rows.size() && static_cast<int>(i) < FList->count(); ++i)
        FList->item(static_cast<int>(i))->setText(ParaSetRules::RowCaption(rows[i], language));
}

void TFrmDataSet::SetupEditor(TEditor kind)
{
    FValueLabel->show();
    FBuzzer->hide();
    FBoostCharge->hide();
    FSetting->setVisible(kind != TEditor::None);
    FCombo->setVisible(kind == TEditor::List);
    FEdit->setVisible(kind == TEditor::Number);
    if (kind == TEditor::Switches) {
        FValueLabel->hide();
        FBuzzer->show();
        FBoostCharge->show();
    }
    if (kind == TEditor::List)
        FCombo->clear();
    if (kind == TEditor::Number)
        FEdit->clear();
}

void TFrmDataSet::ListBox1Click(int row)
{
    FRow = row;
    const QSignalBlocker blocker(FList);
    FList->setCurrentRow(row);
    SelectItem();
}

void TFrmDataSet::SelectItem()
{
    const std::optional<ParaSetRules::TRow> row = ParaSetRules::RowAt(FRow);
    const TUpsInfo &rec = FState.UpsInfo[FState.Selection.GetSelDevAddr()];
    if (!row || rec.LinkState != kLinkOnline) {
        SetupEditor(TEditor::None);
        return;
    }
    // The write image starts from the unit's present settings.
    FState.CmdQueue.ParaSetValue = rec.Para;
    SetupEditor(row->Editor);
    FReg = row->Reg;
    switch (row->Editor) {
    case TEditor::List: {
        const ParaSetRules::TChoices choices
            = ParaSetRules::Choices(FRow, rec.Para, FState.ModelName, FState.Settings.Language);
        FCombo->addItems(choices.Entries);
        FCombo->setCurrentIndex(choices.Selected);
        break;
    }
    case TEditor::Number:
        FEdit->setText(ParaSetRules::NumberText(FRow, rec.Para));
        break;
    case TEditor::Switches:
        FBuzzerChoice->button((rec.Para.StatusControl & ParaSetRules::kBuzzerDisabledBit) != 0 ? 1 : 0)->setChecked(true);
        FBoostChoice->button((rec.Para.StatusControl & ParaSetRules::kBoostChargeDisabledBit) != 0 ? 1 : 0)->setChecked(true);
        break;
    case TEditor::None:
        break;
    }
}

int TFrmDataSet::ValidateValue()
{
    ParaSetRules::TInput input;
    input.Entry = FCombo->currentIndex();
    input.EditText = FEdit->text();
    input.BuzzerDisabled = FBuzzerChoice->checkedId() == 1;
    input.BoostChargeDisabled = FBoostChoice->checkedId() == 1;
    const TUpsInfo &rec = FState.UpsInfo[FState.Selection.GetSelDevAddr()];
    const ParaSetRules::TCheck check = ParaSetRules::Validate(FRow, input, rec.Para, FState.ModelName);
    if (check.EditText)
        FEdit->setText(*check.EditText);
    if (check.Errors == 0) {
        FValue = check.Value;
        return 0;
    }
    if (check.Focus == ParaSetRules::TFocus::List)
        FCombo->setFocus();
    else if (check.Focus == ParaSetRules::TFocus::Edit)
        FEdit->setFocus();
    ShowMessage(check.Message);
    return check.Errors;
}

void TFrmDataSet::QueueWrite()
{
    ParaSetRules::QueueWrite(FState.CmdQueue, FState.Settings.PortInfo.Protocol, FState.Selection.GetSelDevAddr(),
                             FState.ModelName, FReg, FValue);
}

void TFrmDataSet::btnSetToClick()
{
    if (FSetting->isHidden())
        return; // no row set up: the button is not there to press
    if (!FPortOpened()) {
        ShowMessage(QStringLiteral("Serial Port Off"));
        return;
    }
    if (ValidateValue() == 0)
        QueueWrite();
}
