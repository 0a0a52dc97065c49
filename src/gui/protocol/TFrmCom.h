#pragma once

#include "protocol/TTraceSession.h"

#include <QWidget>

#include <functional>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;
class TPollEngine;

// The Trace window: the service view of the polling engine. It shows every
// frame sent and received while it is shown, the exchange statistics, a grid
// of engine variables by code, and lets a technician stop automatic polling
// and send frames typed in hex. Hidden in normal use; the About box opens it.
class TFrmCom : public QWidget {
    Q_OBJECT
public:
    static constexpr int kGridRows = 100;

    explicit TFrmCom(TPollEngine &engine, QWidget *parent = nullptr);
    ~TFrmCom() override;

    // Message box, replaceable so nothing waits on a modal box in tests.
    std::function<void(const QString &text)> ShowMessage;

    void ShowRxFrame(const QByteArray &bytes);
    void ShowTxFrame(const QByteArray &bytes);
    // Statistics, failure line, resend count and grid; the engine's tick
    // asks for it while the window is shown.
    void RefreshTrace();
    // Under Modbus both panes switch to hex when the window becomes active.
    void FormActivate();

    void SetSendMode(bool manual);
    void btnMSendClick();
    void btnClrRxClick();

    TTraceSession &Session() { return FSession; }

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void BuildLayout();
    void AddFrameLine(QPlainTextEdit *pane, const QCheckBox *hexBox, const QByteArray &bytes);
    static void AddPaneLine(QPlainTextEdit *pane, const QString &line);

    TPollEngine &FEngine;
    TTraceSession FSession;

    QPlainTextEdit *FMemoRx;
    QPlainTextEdit *FMemoTx;
    QCheckBox *FRxHex;
    QCheckBox *FTxHex;
    QPushButton *FClrRx;
    QLabel *FCommInfo;
    QLabel *FCommErr;
    QLineEdit *FReCnt;
    QLineEdit *FRecDly;
    QButtonGroup *FSendMode;
    QLineEdit *FTx;
    QPushButton *FSend;
    QCheckBox *FGridHex;
    QSpinBox *FAddr;
    QTableWidget *FGrid;
    QCheckBox *FDbgShow;
};
