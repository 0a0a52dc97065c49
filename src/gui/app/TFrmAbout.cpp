#include "gui/app/TFrmAbout.h"

#include "app/AboutTexts.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

TFrmAbout::TFrmAbout(quint8 language, const QString &versionText, QWidget *parent)
    : QDialog(parent), FLanguage(language), FVersionText(versionText), FProductLine(new QLabel(this)),
      FCount(new QLabel(this)), FDigits(new QLineEdit(this))
{
    setObjectName(QStringLiteral("FrmAbout"));
    FProductLine->setObjectName(QStringLiteral("bsSkinStdLabel2"));
    FProductLine->setAlignment(Qt::AlignCenter);
    QFont productFont = FProductLine->font();
    productFont.setPointSizeF(productFont.pointSizeF() * 1.3);
    productFont.setBold(true);
    FProductLine->setFont(productFont);
    FProductLine->installEventFilter(this);
    FCount->setObjectName(QStringLiteral("lb1"));
    FCount->setAlignment(Qt::AlignRight | Qt::AlignBottom);
    FCount->hide();
    FDigits->setObjectName(QStringLiteral("Edit1"));
    FDigits->hide();

    // A band in the colours of the main window's toolbar carries the
    // application title.
    auto *name = new QLabel(QStringLiteral("Orvan 2000"), this);
    name->setObjectName(QStringLiteral("lblAppTitle"));
    name->setAlignment(Qt::AlignCenter);
    name->setMinimumHeight(64);
    name->setStyleSheet(QStringLiteral(
        "QLabel { color: #ffffff; font-size: 20pt; font-weight: 600; letter-spacing: 1px;"
        " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #2a3949, stop:1 #1f2b38);"
        " border-bottom: 3px solid #1f7a8c; }"));
    FCount->setStyleSheet(QStringLiteral("QLabel { color: #6b7886; }"));
    // Nothing on the box takes the focus: every key goes to the box itself.
    for (QWidget *child : findChildren<QWidget *>())
        child->setFocusPolicy(Qt::NoFocus);

    auto *bottom = new QHBoxLayout;
    bottom->setContentsMargins(0, 0, 10, 6);
    bottom->addStretch(1);
    bottom->addWidget(FCount);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(name);
    layout->addStretch(1);
    layout->addWidget(FProductLine);
    layout->addStretch(1);
    layout->addLayout(bottom);
    setFixedSize(400, 200);
    ApplyLanguage();
}

void TFrmAbout::ApplyLanguage()
{
    setWindowTitle(AboutTitle(FLanguage));
    FProductLine->setText(AboutProductLine(FLanguage, FVersionText));
}

void TFrmAbout::FormKeyPress(QChar c)
{
    switch (FAccess.KeyPress(c)) {
    case TAboutAccess::TKeyAction::Close:
        reject();
        return;
    case TAboutAccess::TKeyAction::HideTrace:
        if (HideTrace)
            HideTrace();
        break;
    case TAboutAccess::TKeyAction::OpenTrace:
        OpenTraceWindow();
        return;
    case TAboutAccess::TKeyAction::None:
        break;
    }
    FDigits->setText(FAccess.Digits());
}

void TFrmAbout::LabelDoubleClick()
{
    const bool open = FAccess.DoubleClick();
    FCount->setVisible(FAccess.DoubleClicks() >= 1);
    FCount->setText(QString::number(FAccess.DoubleClicks()));
    if (open)
        OpenTraceWindow();
}

void TFrmAbout::OpenTraceWindow()
{
    FAccess.Reset();
    FDigits->clear();
    if (OpenTrace)
        OpenTrace();
    reject();
}

void TFrmAbout::FormActivate()
{
    FCount->clear();
}

void TFrmAbout::FormDeactivate()
{
    if (isVisible())
        reject();
}

void TFrmAbout::keyPressEvent(QKeyEvent *event)
{
    for (QChar c : event->text())
        FormKeyPress(c);
    event->accept();
}

bool TFrmAbout::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    else if (event->type() == QEvent::WindowDeactivate)
        FormDeactivate();
    return QDialog::event(event);
}

bool TFrmAbout::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == FProductLine && event->type() == QEvent::MouseButtonDblClick) {
        LabelDoubleClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TFrmAbout::done(int result)
{
    FAccess.Reset();
    FDigits->clear();
    QDialog::done(result);
}
