#include "gui/protocol/TFrmCom.h"

#include "app/TSettings.h"
#include "gui/widgets/NamedControl.h"
#include "protocol/TPollEngine.h"
#include "protocol/TraceLines.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

enum TSendModeId { kAuto = 0, kManual = 1 };

constexpr int kMaxFirstCode = 9000;

QPlainTextEdit *FramePane(const char *name, QWidget *parent)
{
    auto *pane = Named(new QPlainTextEdit(parent), name);
    pane->setReadOnly(true);
    pane->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    pane->setFont(QFont(QStringLiteral("Monospace")));
    return pane;
}

} // namespace

TFrmCom::TFrmCom(TPollEngine &engine, QWidget *parent)
    : QWidget(parent, Qt::Window), FEngine(engine), FSession(engine)
{
    setObjectName(QStringLiteral("FrmCom"));
    setWindowTitle(QStringLiteral("Trace"));
    // Closing the main window ends the program even while this one is open.
    setAttribute(Qt::WA_QuitOnClose, false);
    ShowMessage = [this](const QString &text) {
        QMessageBox::information(this, windowTitle(), text);
    };
    BuildLayout();
    SetSendMode(FSession.ManualMode());

    connect(&FEngine, &TPollEngine::frameSent, this, [this](const QByteArray &frame) {
        if (FSession.Visible())
            ShowTxFrame(frame);
    });
    connect(&FEngine, &TPollEngine::frameReceived, this, [this](const QByteArray &block) {
        if (FSession.Visible())
            ShowRxFrame(block);
    });
    connect(&FEngine, &TPollEngine::frameEnvelope, this, [this](bool sent, const QByteArray &envelope) {
        if (FSession.Visible())
            AddPaneLine(sent ? FMemoTx : FMemoRx, TraceEnvelopeLine(envelope));
    });
    connect(&FEngine, &TPollEngine::traceRefreshDue, this, &TFrmCom::RefreshTrace);
}

TFrmCom::~TFrmCom()
{
    FSession.Hidden();
}

void TFrmCom::BuildLayout()
{
    FMemoRx = FramePane("MemoRx", this);
    FMemoTx = FramePane("MemoTx", this);
    FRxHex = Named(new QCheckBox(QStringLiteral("ASCII"), this), "checkbox1");
    FTxHex = Named(new QCheckBox(QStringLiteral("ASCII"), this), "CheckBox2");
    FRxHex->setChecked(true);
    FTxHex->setChecked(true);
    FClrRx = Named(new QPushButton(QStringLiteral("Clear"), this), "btnClrRx");
    FCommInfo = Named(new QLabel(this), "lb_CommInfo");
    FCommErr = Named(new QLabel(this), "lb_CommErr");
    FReCnt = Named(new QLineEdit(this), "edtReCnt");
    FReCnt->setReadOnly(true);
    FReCnt->setMaximumWidth(56);
    FRecDly = Named(new QLineEdit(this), "edtRecDly");
    FRecDly->setReadOnly(true);
    FRecDly->setMaximumWidth(72);

    auto *modeBox = Named(new QGroupBox(QStringLiteral("Send Mode"), this), "rgSendMode");
    FSendMode = new QButtonGroup(modeBox);
    auto *modeRow = new QHBoxLayout(modeBox);
    for (const char *caption : {"Auto", "Manual"}) {
        auto *item = new QRadioButton(QLatin1String(caption), modeBox);
        item->setObjectName(QLatin1String("rgSendMode") + QLatin1String(caption));
        FSendMode->addButton(item, FSendMode->buttons().size());
        modeRow->addWidget(item);
    }
    FSendMode->button(kAuto)->setChecked(true);
    FTx = Named(new QLineEdit(this), "edtTx");
    FTx->setPlaceholderText(QStringLiteral("01 04 75 30 00 0E 6B CD"));
    FSend = Named(new QPushButton(QStringLiteral("Send"), this), "btnMSend");

    FGridHex = Named(new QCheckBox(QStringLiteral("Hex"), this), "chkHex");
    FAddr = Named(new QSpinBox(this), "medtAddr");
    FAddr->setRange(0, kMaxFirstCode);
    FGrid = Named(new QTableWidget(kGridRows, 2, this), "strGrdDbg");
    FGrid->setHorizontalHeaderLabels({QStringLiteral("Code"), QStringLiteral("Value")});
    FGrid->verticalHeader()->hide();
    FGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    FGrid->setSelectionMode(QAbstractItemView::NoSelection);
    FGrid->horizontalHeader()->setStretchLastSection(true);
    FGrid->setColumnWidth(0, 64);
    FGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FGrid->verticalHeader()->setDefaultSectionSize(20);
    for (int row = 0; row < kGridRows; ++row)
        for (int column = 0; column < 2; ++column)
            FGrid->setItem(row, column, new QTableWidgetItem);
    FDbgShow = Named(new QCheckBox(QStringLiteral("Debug show"), this), "chkDbgShow");

    auto *rxHead = new QHBoxLayout;
    rxHead->addWidget(Named(new QLabel(QStringLiteral("Accept:"), this), "Label2"));
    rxHead->addStretch(1);
    rxHead->addWidget(FRxHex);
    rxHead->addWidget(FClrRx);

    auto *txHead = new QHBoxLayout;
    txHead->addWidget(Named(new QLabel(QStringLiteral("Send:"), this), "Label3"));
    txHead->addStretch(1);
    txHead->addWidget(FTxHex);
    txHead->addWidget(Named(new QLabel(QStringLiteral("Resend："), this), "Label4"));
    txHead->addWidget(FReCnt);
    txHead->addWidget(FRecDly);

    auto *sendRow = new QHBoxLayout;
    sendRow->addWidget(modeBox);
    sendRow->addWidget(FTx, 1);
    sendRow->addWidget(FSend);

    auto *frames = new QVBoxLayout;
    frames->addLayout(rxHead);
    frames->addWidget(FMemoRx, 1);
    frames->addWidget(FCommInfo);
    frames->addWidget(FCommErr);
    frames->addLayout(txHead);
    frames->addWidget(FMemoTx, 1);
    frames->addLayout(sendRow);

    auto *gridHead = new QHBoxLayout;
    gridHead->addWidget(FAddr, 1);
    gridHead->addWidget(FGridHex);
    auto *variables = new QVBoxLayout;
    variables->addLayout(gridHead);
    variables->addWidget(FGrid, 1);
    variables->addWidget(FDbgShow);

    auto *layout = new QHBoxLayout(this);
    layout->addLayout(frames, 3);
    layout->addLayout(variables, 1);
    resize(820, 560);

    connect(FClrRx, &QPushButton::clicked, this, &TFrmCom::btnClrRxClick);
    connect(FSend, &QPushButton::clicked, this, &TFrmCom::btnMSendClick);
    connect(FSendMode, &QButtonGroup::idClicked, this, [this](int id) { SetSendMode(id == kManual); });
    connect(FDbgShow, &QCheckBox::toggled, this, [this](bool on) { FSession.SetDebugShow(on); });
    connect(FAddr, &QSpinBox::valueChanged, this, &TFrmCom::RefreshTrace);
    connect(FGridHex, &QCheckBox::toggled, this, &TFrmCom::RefreshTrace);
    for (QWidget *view : {FMemoRx->viewport(), FMemoTx->viewport(), FGrid->viewport()})
        view->installEventFilter(this);
}

void TFrmCom::AddFrameLine(QPlainTextEdit *pane, const QCheckBox *hexBox, const QByteArray &bytes)
{
    AddPaneLine(pane, TraceFrameLine(bytes, hexBox->isChecked()));
}

void TFrmCom::AddPaneLine(QPlainTextEdit *pane, const QString &line)
{
    if (pane->document()->blockCount() > kTracePaneMaxLines)
        pane->clear();
    pane->appendPlainText(line);
}

void TFrmCom::ShowRxFrame(const QByteArray &bytes)
{
    AddFrameLine(FMemoRx, FRxHex, bytes);
}

void TFrmCom::ShowTxFrame(const QByteArray &bytes)
{
    AddFrameLine(FMemoTx, FTxHex, bytes);
}

void TFrmCom::RefreshTrace()
{
    const int base = FAddr->value();
    const bool hex = FGridHex->isChecked();
    for (int row = 0; row < kGridRows; ++row) {
        const int code = base + row;
        FGrid->item(row, 0)->setText(QString::number(code));
        FGrid->item(row, 1)->setText(TraceValueText(FSession.VariableValue(code), hex));
    }
    FSession.RefreshRate();
    FCommInfo->setText(FSession.CommInfoText());
    FCommErr->setText(FSession.CommErrText());
    FReCnt->setText(QString::number(FSession.ResendCount()));
    FRecDly->setText(QString::number(FSession.SecondsSinceDataLog()));
}

void TFrmCom::FormActivate()
{
    const quint8 protocol = FEngine.Settings().PortInfo.Protocol;
    if (protocol == 2 || protocol == 3) {
        FRxHex->setChecked(true);
        FTxHex->setChecked(true);
    }
}

void TFrmCom::SetSendMode(bool manual)
{
    FSession.SetManualMode(manual);
    FSendMode->button(manual ? kManual : kAuto)->setChecked(true);
    FTx->setEnabled(manual);
    FSend->setEnabled(manual);
}

void TFrmCom::btnMSendClick()
{
    if (FSession.ManualSend(FTx->text().toLatin1()) == TTraceSession::TSendResult::TooLong)
        ShowMessage(TraceFrameTooLongText(FEngine.Settings().Language));
}

void TFrmCom::btnClrRxClick()
{
    FMemoRx->clear();
    FSession.ClearExchangeCounters();
}

void TFrmCom::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;
    FSession.Shown();
    FDbgShow->setChecked(FSession.DebugShow());
    RefreshTrace();
}

void TFrmCom::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    if (event->spontaneous())
        return;
    // Closing and hiding alike: a hidden window must not keep the bus in
    // manual mode with nobody to see it.
    FSession.Hidden();
    SetSendMode(false);
}

bool TFrmCom::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return QWidget::event(event);
}

bool TFrmCom::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == FMemoRx->viewport())
            FMemoRx->clear();
        else if (watched == FMemoTx->viewport())
            FMemoTx->clear();
        else if (watched == FGrid->viewport())
            FSession.ClearDiagnostics();
    }
    return QWidget::eventFilter(watched, event);
}
