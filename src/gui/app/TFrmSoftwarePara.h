#pragma once

#include "app/TAutoStartEntry.h"

#include <QDialog>
#include <QStringList>

#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
struct TSettings;

// The software parameter window: serial port, baud rate, protocol, the pace
// of polling and whether the program starts with the desktop session. Showing it already
// switches the bus to Modbus in memory. Saving applies everything at once:
// autostart entry, port reopened, main window layout, settings file.
class TFrmSoftwarePara : public QDialog {
    Q_OBJECT
public:
    // The main window's operations that a save runs.
    struct TActions {
        std::function<void()> OpenPort;          // throws ECommsError
        std::function<void()> SetProtocolLayout; // the main window follows the protocol
        std::function<void(const QString &)> ShowError;
    };

    TFrmSoftwarePara(TSettings &settings, QString settingsFile, TAutoStartEntry autoStart,
                     const QStringList &systemDevices, TActions actions, QWidget *parent = nullptr);

    void ApplyLanguage();
    // What showing the window does: captions, the stored values selected,
    // Protocol := Modbus.
    void FormShow();
    // Stores the choices; the window closes only when every step worked.
    void SaveSetBtnClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    // Runs one step of the save; false (the error shown) when it failed.
    bool Step(const std::function<void()> &step);

    TSettings &FSettings;
    QString FSettingsFile;
    TAutoStartEntry FAutoStart;
    TActions FActions;
    QStringList FPortItems;
    QStringList FBaudItems;

    QComboBox *FComName;
    QComboBox *FBaudRate;
    QComboBox *FProtocol;
    QComboBox *FPollMode;
    QCheckBox *FAutoStartup;
    QPushButton *FSave;
    QPushButton *FCancel;
    QLabel *FComLabel;
    QLabel *FBaudLabel;
    QLabel *FProtocolLabel;
    QLabel *FPollModeLabel;
};
