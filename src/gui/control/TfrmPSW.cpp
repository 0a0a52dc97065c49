#include "gui/control/TfrmPSW.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

TfrmPSW::TfrmPSW(QString &modelName, quint8 language, QWidget *parent)
    : QDialog(parent), FCheck(modelName), FLanguage(language), FPassword(new QLineEdit(this)),
      FOk(new QPushButton(QStringLiteral("OK"), this)), FCancel(new QPushButton(QStringLiteral("Cancle"), this))
{
    setObjectName(QStringLiteral("frmPSW"));
    // The same in both languages; only the error message follows the setting.
    setWindowTitle(QStringLiteral("Input Password"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    FPassword->setObjectName(QStringLiteral("edtPSW"));
    FPassword->setMaxLength(TPasswordCheck::kMaxLength);
    FPassword->installEventFilter(this);
    FOk->setObjectName(QStringLiteral("btnOK"));
    FCancel->setObjectName(QStringLiteral("btnCancle"));
    // Enter in the box only moves on to OK; a second Enter presses it.
    FCancel->setAutoDefault(false);

    ShowMessage = [this](const QString &text) {
        QMessageBox box(QMessageBox::Question, windowTitle(), text, QMessageBox::Yes, this);
        box.exec();
    };

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(FOk);
    buttons->addWidget(FCancel);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->setSpacing(12);
    layout->addWidget(FPassword);
    layout->addLayout(buttons);
    setFixedSize(280, sizeHint().height());

    connect(FOk, &QPushButton::clicked, this, &TfrmPSW::btnOKClick);
    connect(FCancel, &QPushButton::clicked, this, &TfrmPSW::btnCancleClick);
    FPassword->setFocus();
}

bool TfrmPSW::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == FPassword && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            FOk->setFocus();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmPSW::btnOKClick()
{
    switch (FCheck.Confirm(FPassword->text())) {
    case TPasswordCheck::TOutcome::Accepted:
        accept();
        return;
    case TPasswordCheck::TOutcome::TryAgain:
        ShowMessage(TPasswordCheck::InvalidText(FLanguage));
        return;
    case TPasswordCheck::TOutcome::GiveUp:
        ShowMessage(TPasswordCheck::InvalidText(FLanguage));
        reject();
        return;
    }
}

void TfrmPSW::btnCancleClick()
{
    reject();
}
