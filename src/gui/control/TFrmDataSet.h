#pragma once

#include "control/ParaSetRules.h"

#include <QDialog>

#include <cstdint>
#include <functional>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
struct TMonitorState;

// Writes one parameter of the selected UPS at a time: the user picks a
// parameter, the window offers its allowed values starting from the unit's
// present one, checks the choice and queues a write of its register.
class TFrmDataSet : public QDialog
{
    Q_OBJECT
public:
    TFrmDataSet(TMonitorState &state, std::function<bool()> portOpened, QWidget *parent = nullptr);

    // Plain message boxes; replaceable so tests need none.
    std::function<void(const QString &text)> ShowMessage;

    void ApplyLanguage();
    void SetupEditor(ParaSetRules::TEditor kind);
    // A click on a row of the list (-1: none).
    void ListBox1Click(int row);
    void SelectItem();
    // Returns the number of errors; on none the value is ready to queue.
    int ValidateValue();
    void QueueWrite();
    void btnSetToClick();

    std::uint32_t SelectedRegister() const { return FReg; }
    std::uint16_t CheckedValue() const { return FValue; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    TMonitorState &FState;
    std::function<bool()> FPortOpened;
    int FRow = -1;
    std::uint32_t FReg = 0;
    std::uint16_t FValue = 0;

    QLabel *FListTitle;
    QListWidget *FList;
    QGroupBox *FSetting;
    QLabel *FValueLabel;
    QComboBox *FCombo;
    QLineEdit *FEdit;
    QPushButton *FSetTo;
    QGroupBox *FBuzzer;
    QGroupBox *FBoostCharge;
    QButtonGroup *FBuzzerChoice;
    QButtonGroup *FBoostChoice;
};
