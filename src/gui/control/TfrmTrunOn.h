#pragma once

#include <QDialog>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
struct TMonitorState;

// Turns the selected UPS on or off. Nothing is chosen when it opens, so OK
// alone sends nothing. It closes as soon as another window becomes active.
class TfrmTrunOn : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmTrunOn(TMonitorState &state, QWidget *parent = nullptr);

    void ApplyLanguage();
    void btnSureClick();

protected:
    bool event(QEvent *event) override;

private:
    TMonitorState &FState;
    QLabel *FTitle;
    QGroupBox *FChoice;
    QButtonGroup *FChoices;
    QRadioButton *FOn;
    QRadioButton *FOff;
    QPushButton *FSure;
};
