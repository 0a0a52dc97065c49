#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
struct TMonitorState;

// Starts a battery self-test of the selected UPS for a number of seconds,
// or cancels a running one. Queues the command and stays open; the reply is
// not awaited.
class TFrmTest : public QDialog
{
    Q_OBJECT
public:
    explicit TFrmTest(TMonitorState &state, QWidget *parent = nullptr);

    std::function<void(const QString &text)> ShowMessage;

    void ApplyLanguage();
    void Button1Click();
    void Button2Click();
    void QueueTest(qint64 seconds);

protected:
    void showEvent(QShowEvent *event) override;

private:
    TMonitorState &FState;
    QLabel *FLabel;
    QLineEdit *FTime;
    QPushButton *FStart;
    QPushButton *FCancel;
};
