#include "gui/control/TFrmUserSet.h"

#include "app/TMonitorState.h"
#include "control/UserSetTexts.h"
#include "gui/control/TFrmDataSet.h"
#include "gui/control/TfrmPSW.h"
#include "gui/widgets/CaptionApplier.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kDiagInterval = 3;
constexpr int kDiagTicks = 13;

} // namespace

TFrmUserSet::TFrmUserSet(TMonitorState &state, std::function<bool()> portOpened, QWidget *parent)
    : QWidget(parent, Qt::Window), FState(state), FPortOpened(std::move(portOpened)), FSet(new QPushButton(this))
{
    setObjectName(QStringLiteral("FrmUserSet"));
    FSet->setObjectName(QStringLiteral("btnSet"));
    RunModal = [](QDialog &window) { window.exec(); };

    auto *top = new QHBoxLayout;
    top->addWidget(FSet);
    top->addStretch(1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 10, 12, 12);
    layout->setSpacing(10);
    layout->addLayout(top);
    layout->addWidget(BuildGroup1());
    layout->addWidget(BuildGroup2());
    // The window takes the size its captions need in the current language
    // and with or without the operation mode; the user cannot resize it.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    FTimer1.setInterval(kTimerInterval);
    connect(&FTimer1, &QTimer::timeout, this, &TFrmUserSet::Timer1Timer);
    connect(FSet, &QPushButton::clicked, this, &TFrmUserSet::btnSetClick);

    // Creation: empty boxes, timer off; the pre-alarm time and the Set
    // button stay hidden for the whole run.
    ClearValues();
    for (const char *name : {"lbPreAlarm", "edtPreAlarm"})
        findChild<QWidget *>(QLatin1String(name))->hide();
    FSet->hide();
    FOutput->hide();
    ApplyLanguage();
}

QLineEdit *TFrmUserSet::AddValue(QGridLayout *grid, int row, int column, const char *label, const char *box)
{
    QWidget *owner = grid->parentWidget();
    auto *caption = new QLabel(owner);
    caption->setObjectName(QLatin1String(label));
    caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto *value = new QLineEdit(owner);
    value->setObjectName(QLatin1String(box));
    value->setReadOnly(true);
    value->setFixedWidth(110);
    grid->addWidget(caption, row, column * 2);
    grid->addWidget(value, row, column * 2 + 1);
    FBoxes[box] = value;
    return value;
}

QWidget *TFrmUserSet::BuildGroup1()
{
    FGroup1 = new QGroupBox(this);
    FGroup1->setObjectName(QStringLiteral("GroupBox1"));
    FGroup1->setEnabled(false); // read-only: the window writes nothing back
    auto *grid = new QGridLayout(FGroup1);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(8);
    const char *const columns[2][5][2] = {
        {{"Label2", "edtSetMode"}, {"Label3", "edtVoltLevel"}, {"Label4", "edtFreqLevel"},
         {"Label5", "edtParaNum"}, {"Label6", "edtRedunNum"}},
        {{"Label8", "edtBpsFreq"}, {"Label9", "edtBpsVMax"}, {"Label10", "edtBpsVMin"},
         {"Label11", "edtOutputVFine"}, {"Label1", "edtSysID"}},
    };
    for (int column = 0; column < 2; ++column)
        for (int row = 0; row < 5; ++row)
            AddValue(grid, row, column, columns[column][row][0], columns[column][row][1]);
    AddValue(grid, 0, 2, "lbBuzzer", "edtBuzzer");

    FOutput = new QGroupBox(FGroup1);
    FOutput->setObjectName(QStringLiteral("grpOutput"));
    auto *output = new QGridLayout(FOutput);
    AddValue(output, 0, 0, "lblOptMode", "edtOptVolt");
    grid->addWidget(FOutput, 1, 4, 2, 2, Qt::AlignTop);
    grid->setColumnMinimumWidth(2, 12);
    return FGroup1;
}

QWidget *TFrmUserSet::BuildGroup2()
{
    FGroup2 = new QGroupBox(this);
    FGroup2->setObjectName(QStringLiteral("GroupBox2"));
    FGroup2->setEnabled(false);
    auto *grid = new QGridLayout(FGroup2);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(8);
    const char *const columns[2][5][2] = {
        {{"Label15", "edtBattNum"}, {"Label20", "edtBattCap"}, {"Label19", "edtBattGroup"},
         {"Label17", "edtBattBoostV"}, {"Label21", "edtBattFloat"}},
        {{"Label18", "edtEodV"}, {"lbPreAlarm", "edtPreAlarm"}, {"Label24", "edtBoostLast"},
         {"Label22", "edtMaxChgCurr"}, {"lbBoostChg", "edtBoostChg"}},
    };
    for (int column = 0; column < 2; ++column)
        for (int row = 0; row < 5; ++row)
            AddValue(grid, row, column, columns[column][row][0], columns[column][row][1]);
    grid->setColumnStretch(4, 1);
    return FGroup2;
}

void TFrmUserSet::ApplyLanguage()
{
    ApplyCaptions(this, UserSetTexts::Captions(FState.Settings.Language));
}

void TFrmUserSet::ClearValues()
{
    for (auto &[name, box] : FBoxes)
        box->clear();
}

void TFrmUserSet::ShowValues()
{
    const TUpsInfo &rec = FState.UpsInfo[FState.Selection.GetSelDevAddr()];
    for (const UserSetTexts::TValueText &value : UserSetTexts::ValueTexts(rec.Para, FState.Settings.Language))
        FBoxes.at(value.Box)->setText(value.Text);
    FOutput->setVisible(UserSetTexts::OperationModeShown(FState.ModelName));
}

void TFrmUserSet::Timer1Timer()
{
    FState.DiagCounters[kDiagInterval] = FTimer1.interval();
    ++FState.DiagCounters[kDiagTicks];
    const TUpsInfo &rec = FState.UpsInfo[FState.Selection.GetSelDevAddr()];
    if (UserSetTexts::ShowsValues(FPortOpened(), rec)) {
        ShowValues();
        FSet->setEnabled(isActiveWindow());
    } else {
        ClearValues();
        FSet->setEnabled(false);
    }
}

void TFrmUserSet::btnSetClick()
{
    TfrmPSW prompt(FState.ModelName, FState.Settings.Language, this);
    RunModal(prompt);
    if (prompt.result() != QDialog::Accepted)
        return;
    TFrmDataSet window(FState, FPortOpened, this);
    RunModal(window);
}

void TFrmUserSet::showEvent(QShowEvent *event)
{
    ApplyLanguage();
    // Started here as well as on activation: a window manager that does not
    // hand the focus to a new window would otherwise leave the boxes empty.
    FTimer1.start();
    QWidget::showEvent(event);
}

void TFrmUserSet::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        FTimer1.start();
        ApplyLanguage();
    }
    QWidget::changeEvent(event);
}

void TFrmUserSet::closeEvent(QCloseEvent *event)
{
    // Closing only hides the window: it is not deleted on close, and the
    // same instance opens again.
    FTimer1.stop();
    QWidget::closeEvent(event);
}
