#pragma once

#include <QTimer>
#include <QWidget>

#include <functional>
#include <map>
#include <string>

class QDialog;
class QGroupBox;
class QLineEdit;
class QPushButton;
struct TMonitorState;

// Shows the parameter block of the device selected in the main window,
// refreshed every second, read-only. One instance lives for the whole run;
// closing it only hides it.
class TFrmUserSet : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kTimerInterval = 1000; // ms

    // portOpened tells whether the polling engine's port is open.
    TFrmUserSet(TMonitorState &state, std::function<bool()> portOpened, QWidget *parent = nullptr);

    // Shows a window made for one use, modally; replaceable for tests.
    std::function<void(QDialog &window)> RunModal;

    void ApplyLanguage();
    void ClearValues();
    void ShowValues();
    // One tick of the refresh timer.
    void Timer1Timer();
    // The Set button: password prompt, then the model parameter window.
    void btnSetClick();

    QTimer &Timer1() { return FTimer1; }

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    QWidget *BuildGroup1();
    QWidget *BuildGroup2();
    QLineEdit *AddValue(class QGridLayout *grid, int row, int column, const char *label, const char *box);

    TMonitorState &FState;
    std::function<bool()> FPortOpened;
    QTimer FTimer1;
    QPushButton *FSet;
    QGroupBox *FGroup1 = nullptr;
    QGroupBox *FGroup2 = nullptr;
    QGroupBox *FOutput = nullptr;
    std::map<std::string, QLineEdit *> FBoxes;
};
