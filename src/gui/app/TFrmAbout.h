#pragma once

#include "app/TAboutAccess.h"

#include <QDialog>

#include <functional>

class QLabel;
class QLineEdit;

// The About box: the product line with the version. It is also the only
// way to the hidden Trace window: the access code typed on the box, or a
// fourth double click on the product line. It closes as soon as another
// window becomes active.
class TFrmAbout : public QDialog {
    Q_OBJECT
public:
    TFrmAbout(quint8 language, const QString &versionText, QWidget *parent = nullptr);

    // Shows the Trace window, creating it when it does not exist yet.
    std::function<void()> OpenTrace;
    // Hides the Trace window when it exists.
    std::function<void()> HideTrace;

    void ApplyLanguage();
    // One character typed while the box has the focus; every one is consumed.
    void FormKeyPress(QChar c);
    void LabelDoubleClick();
    void FormActivate();
    void FormDeactivate();

    const TAboutAccess &Access() const { return FAccess; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void done(int result) override;

private:
    void OpenTraceWindow();

    quint8 FLanguage;
    QString FVersionText;
    TAboutAccess FAccess;
    QLabel *FProductLine;
    QLabel *FCount;
    QLineEdit *FDigits;
};
