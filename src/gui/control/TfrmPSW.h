#pragma once

#include "control/TPasswordCheck.h"

#include <QDialog>

#include <functional>

class QLineEdit;
class QPushButton;

// The password prompt in front of every window that sends commands to a
// UPS. Closes with Accepted for the password, with Rejected on Cancel or
// after the third wrong entry. Whatever the user confirms becomes the
// model name.
class TfrmPSW : public QDialog
{
    Q_OBJECT
public:
    TfrmPSW(QString &modelName, quint8 language, QWidget *parent = nullptr);

    // The message after a wrong entry; replaceable so tests need no box.
    std::function<void(const QString &text)> ShowMessage;

    void btnOKClick();
    void btnCancleClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    TPasswordCheck FCheck;
    quint8 FLanguage;
    QLineEdit *FPassword;
    QPushButton *FOk;
    QPushButton *FCancel;
};
