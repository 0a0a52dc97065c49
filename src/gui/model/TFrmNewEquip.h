#pragma once

#include "model/DeviceWindowTexts.h"

#include <QDialog>

#include <functional>

class QComboBox;
class QLineEdit;
class TDeviceList;

// Adds one device with a name and a bus address that no device uses yet.
class TFrmNewEquip : public QDialog
{
    Q_OBJECT

public:
    // listChanged rebuilds the device tree and saves the list after the add.
    TFrmNewEquip(TDeviceList &deviceList, quint8 language, std::function<void()> listChanged,
                 QWidget *parent = nullptr);

    // A plain message box; tests replace it.
    std::function<void(const QString &text)> ShowMessage;

    void ApplyLanguage();
    void btnNewClick();

private:
    TDeviceList &FDeviceList;
    quint8 FLanguage;
    std::function<void()> FListChanged;
    TEquipEditTexts FTexts;
    QLineEdit *FName;
    QComboBox *FAddr;
};
