#include "gui/control/TFrmTest.h"

#include "app/TMonitorState.h"
#include "control/ControlCommands.h"
#include "gui/widgets/DigitKeyFilter.h"
#include "model/TextLanguage.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>

TFrmTest::TFrmTest(TMonitorState &state, QWidget *parent)
    : QDialog(parent), FState(state), FLabel(new QLabel(this)), FTime(new QLineEdit(QStringLiteral("60"), this)),
      FStart(new QPushButton(this)), FCancel(new QPushButton(this))
{
    setObjectName(QStringLiteral("FrmTest"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    FLabel->setObjectName(QStringLiteral("Label1"));
    FTime->setObjectName(QStringLiteral("Edit1"));
    FStart->setObjectName(QStringLiteral("Button1"));
    FCancel->setObjectName(QStringLiteral("Button2"));
    DigitKeyFilter::Install(FTime, false);
    for (QPushButton *button : {FStart, FCancel}) {
        button->setAutoDefault(false);
        button->setMinimumWidth(110);
    }

    ShowMessage = [this](const QString &text) { QMessageBox::information(this, windowTitle(), text); };

    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(20, 20, 20, 16);
    layout->setHorizontalSpacing(12);
    layout->setVerticalSpacing(16);
    layout->addWidget(FLabel, 0, 0);
    layout->addWidget(FTime, 0, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(FStart);
    buttons->addWidget(FCancel);
    layout->addLayout(buttons, 1, 0, 1, 2);
    ApplyLanguage();
    setFixedSize(std::max(320, sizeHint().width()), sizeHint().height());

    connect(FStart, &QPushButton::clicked, this, &TFrmTest::Button1Click);
    connect(FCancel, &QPushButton::clicked, this, &TFrmTest::Button2Click);
}

void TFrmTest::showEvent(QShowEvent *event)
{
    ApplyLanguage();
    QDialog::showEvent(event);
}

void TFrmTest::ApplyLanguage()
{
    const bool zh = IsChineseLanguage(FState.Settings.Language);
    setWindowTitle(LanguageText(zh, "电池自检", "Battery Test"));
    FLabel->setText(LanguageText(zh, "自检时间（秒）", "Test Time(Sec)"));
    FStart->setText(LanguageText(zh, "电池自检", "Battery Test"));
    FCancel->setText(LanguageText(zh, "取消自检", "Cancel Test"));
}

void TFrmTest::Button1Click()
{
    const std::optional<qint32> seconds = ControlCommands::TestSeconds(FTime->text());
    if (!seconds) {
        ShowMessage(ControlCommands::TestTimeInvalidText());
        return;
    }
    QueueTest(*seconds);
}

void TFrmTest::Button2Click()
{
    QueueTest(0);
}

void TFrmTest::QueueTest(qint64 seconds)
{
    ControlCommands::QueueTest(FState.CmdQueue, FState.Settings.PortInfo.Protocol,
                               FState.Selection.GetSelDevAddr(), seconds);
}
