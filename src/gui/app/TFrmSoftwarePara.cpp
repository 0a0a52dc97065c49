#include "gui/app/TFrmSoftwarePara.h"

#include "app/SoftwareParaChoices.h"
#include "app/TSettings.h"
#include "gui/widgets/NamedControl.h"
#include "model/TextLanguage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include <exception>

TFrmSoftwarePara::TFrmSoftwarePara(TSettings &settings, QString settingsFile, TAutoStartEntry autoStart,
                                   const QStringList &systemDevices, TActions actions, QWidget *parent)
    : QDialog(parent), FSettings(settings), FSettingsFile(std::move(settingsFile)), FAutoStart(std::move(autoStart)),
      FActions(std::move(actions)), FPortItems(PortListItems(settings.PortInfo.ComName, systemDevices)),
      FBaudItems(BaudListItems(settings.PortInfo.BaudRate)), FComName(Named(new QComboBox(this), "cbxComName")),
      FBaudRate(Named(new QComboBox(this), "cbxBaudRate")), FProtocol(Named(new QComboBox(this), "cbxcurProtocol")),
      FPollMode(Named(new QComboBox(this), "cbxPollMode")), FAutoStartup(Named(new QCheckBox(this), "crbAutoStartup")), FSave(Named(new QPushButton(this), "SaveSetBtn")),
      FCancel(Named(new QPushButton(this), "Button4")), FComLabel(Named(new QLabel(this), "bsSkinLabel2")),
      FBaudLabel(Named(new QLabel(this), "bsSkinLabel3")), FProtocolLabel(Named(new QLabel(this), "lbProtocol")),
      FPollModeLabel(Named(new QLabel(this), "lbPollMode"))
{
    setObjectName(QStringLiteral("FrmSoftwarePara"));
    FComName->addItems(FPortItems);
    FComName->setMaxVisibleItems(20);
    // A bus behind the network is typed in: tcp://HOST:PORT, modbus-tcp://HOST:PORT.
    FComName->setEditable(true);
    FComName->setInsertPolicy(QComboBox::NoInsert);
    FBaudRate->addItems(FBaudItems);
    FProtocol->addItems(ProtocolListItems());
    FPollMode->addItems(PollModeItems(false));

    auto *fields = new QFormLayout;
    fields->setHorizontalSpacing(14);
    fields->setVerticalSpacing(10);
    fields->addRow(FComLabel, FComName);
    fields->addRow(FBaudLabel, FBaudRate);
    fields->addRow(FProtocolLabel, FProtocol);
    fields->addRow(FPollModeLabel, FPollMode);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(FSave);
    buttons->addWidget(FCancel);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 16, 18, 14);
    layout->addLayout(fields);
    layout->addSpacing(6);
    layout->addWidget(FAutoStartup);
    layout->addStretch(1);
    layout->addLayout(buttons);
    setMinimumWidth(400);

    connect(FSave, &QPushButton::clicked, this, &TFrmSoftwarePara::SaveSetBtnClick);
    connect(FCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TFrmSoftwarePara::ApplyLanguage()
{
    const bool zh = IsChineseLanguage(FSettings.Language);
    setWindowTitle(LanguageText(zh, "软件参数设定", "Software Parameter Setting"));
    FComLabel->setText(LanguageText(zh, "通讯串口", "COM"));
    FBaudLabel->setText(LanguageText(zh, "波特率", "Baud Rate"));
    FAutoStartup->setText(LanguageText(zh, "开机自启动", "Automatic Run Program At Windows Startup"));
    FSave->setText(LanguageText(zh, "保存设置", "Save Setting"));
    FCancel->setText(LanguageText(zh, "取消", "Cancel"));
    FProtocolLabel->setText(LanguageText(zh, "通讯协议:", "Protocol:"));
    FPollModeLabel->setText(LanguageText(zh, "轮询节拍:", "Poll pace:"));
    const QStringList paces = PollModeItems(zh);
    for (int i = 0; i < paces.size(); ++i)
        FPollMode->setItemText(i, paces[i]);
}

void TFrmSoftwarePara::FormShow()
{
    ApplyLanguage();
    const TPortInfo &port = FSettings.PortInfo;
    FComName->setCurrentIndex(ItemIndex(FPortItems, port.ComName));
    FBaudRate->setCurrentIndex(ItemIndex(FBaudItems, QString::number(port.BaudRate)));
    FAutoStartup->setChecked(port.AutoStart);
    FProtocol->setCurrentIndex(ProtocolItemIndex(port.Protocol));
    FPollMode->setCurrentIndex(PollModeIndex(port.PollMode));
}

void TFrmSoftwarePara::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

bool TFrmSoftwarePara::Step(const std::function<void()> &step)
{
    try {
        step();
        return true;
    } catch (const std::exception &error) {
        if (FActions.ShowError)
            FActions.ShowError(QString::fromLocal8Bit(error.what()));
        return false;
    }
}

void TFrmSoftwarePara::SaveSetBtnClick()
{
    const TSoftwareChoices choices{FComName->currentText(), FBaudRate->currentText(), FAutoStartup->isChecked(),
                                   FProtocol->currentIndex(), FPollMode->currentIndex()};
    const QString problem = SoftwareChoicesProblem(choices, FSettings.Language);
    if (!problem.isEmpty()) {
        // Nothing is applied: the settings in memory stay as they were.
        if (FActions.ShowError)
            FActions.ShowError(problem);
        FComName->setFocus();
        return;
    }
    ApplySoftwareChoices(FSettings, choices);
    // A step that fails keeps the window open with the new values in memory
    // only; the user may pick another port and save again, or cancel.
    const bool saved = Step([this] { FAutoStart.Apply(FSettings.PortInfo.AutoStart); })
                       && Step([this] {
                              if (FActions.OpenPort)
                                  FActions.OpenPort();
                          })
                       && Step([this] {
                              if (FActions.SetProtocolLayout)
                                  FActions.SetProtocolLayout();
                          })
                       && Step([this] { SaveSettings(FSettings, FSettingsFile); });
    if (saved)
        accept();
}
