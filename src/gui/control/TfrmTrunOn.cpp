#include "gui/control/TfrmTrunOn.h"

#include "app/TMonitorState.h"
#include "control/ControlCommands.h"
#include "model/TextLanguage.h"

#include <QApplication>
#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

TfrmTrunOn::TfrmTrunOn(TMonitorState &state, QWidget *parent)
    : QDialog(parent), FState(state), FTitle(new QLabel(this)), FChoice(new QGroupBox(this)),
      FChoices(new QButtonGroup(this)), FOn(new QRadioButton(FChoice)), FOff(new QRadioButton(FChoice)),
      FSure(new QPushButton(this))
{
    setObjectName(QStringLiteral("frmTrunOn"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    FTitle->setObjectName(QStringLiteral("pnl1"));
    FTitle->setAlignment(Qt::AlignCenter);
    FTitle->setFrameShape(QFrame::StyledPanel);
    FTitle->setMinimumHeight(36);
    QFont titleFont = FTitle->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.2);
    FTitle->setFont(titleFont);
    FChoice->setObjectName(QStringLiteral("rg1"));
    FOn->setObjectName(QStringLiteral("rg1Item0"));
    FOff->setObjectName(QStringLiteral("rg1Item1"));
    FChoices->addButton(FOn, 0);
    FChoices->addButton(FOff, 1);
    FSure->setObjectName(QStringLiteral("btnSure"));
    FSure->setAutoDefault(false);
    FSure->setMinimumWidth(96);

    auto *choiceLayout = new QHBoxLayout(FChoice);
    choiceLayout->addStretch(1);
    choiceLayout->addWidget(FOn);
    choiceLayout->addSpacing(24);
    choiceLayout->addWidget(FOff);
    choiceLayout->addStretch(1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(FSure);
    buttons->addStretch(1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(12);
    layout->addWidget(FTitle);
    layout->addWidget(FChoice);
    layout->addLayout(buttons);
    ApplyLanguage();
    setFixedSize(300, sizeHint().height());
    if (const QScreen *screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    connect(FSure, &QPushButton::clicked, this, &TfrmTrunOn::btnSureClick);
}

void TfrmTrunOn::ApplyLanguage()
{
    // English only for the setting 0, unlike the other windows.
    const bool zh = FState.Settings.Language != 0;
    setWindowTitle(LanguageText(zh, "用户控制", "Remote Control"));
    FTitle->setText(LanguageText(zh, "遥控", "Turn  On/Off  UPS"));
    FOn->setText(LanguageText(zh, "开机", "On"));
    FOff->setText(LanguageText(zh, "关机", "Off"));
    FSure->setText(LanguageText(zh, "确定", "OK"));
}

void TfrmTrunOn::btnSureClick()
{
    const int choice = FChoices->checkedId();
    if (choice < 0)
        return;
    const std::uint32_t reg = choice == 0 ? ControlCommands::kRegTurnOn : ControlCommands::kRegTurnOff;
    ControlCommands::Queue(FState.CmdQueue, FState.Selection.GetSelDevAddr(), reg, 1);
}

bool TfrmTrunOn::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        ApplyLanguage();
    else if (event->type() == QEvent::WindowDeactivate && isVisible() && QApplication::activeWindow() != nullptr)
        reject(); // another window of the program took over, not another program

    return QDialog::event(event);
}
