#pragma once

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QSpinBox;
struct TSettings;

// Switches periodic data recording on or off and sets its interval. OK
// changes `RecInterval` in memory; the settings file gets it at the next save.
class TFrmDataLogSet : public QDialog {
    Q_OBJECT
public:
    explicit TFrmDataLogSet(TSettings &settings, QWidget *parent = nullptr);

    void ApplyLanguage();
    void OkClick();

private:
    void UpdateFieldState();

    TSettings &FSettings;
    QCheckBox *FRecord;
    QGroupBox *FFrame;
    QSpinBox *FSpace;
    QLabel *FBefore;
    QLabel *FAfter;
    QPushButton *FOk;
    QPushButton *FCancel;
};
