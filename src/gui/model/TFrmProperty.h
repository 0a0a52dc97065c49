#pragma once

#include "model/DeviceWindowTexts.h"

#include <QDialog>

#include <functional>

class QComboBox;
class QLineEdit;
class TDeviceList;

// Shows the name and address of the device a tree node belongs to and
// renames it. The address of a device is never changed here.
class TFrmProperty : public QDialog
{
    Q_OBJECT

public:
    // selectedTreeIndex: the selected tree node, the device's own or one of
    // its children. listChanged rebuilds the device tree and saves the list.
    TFrmProperty(TDeviceList &deviceList, int selectedTreeIndex, quint8 language,
                 std::function<void()> listChanged, QWidget *parent = nullptr);

    // A plain message box; tests replace it.
    std::function<void(const QString &text)> ShowMessage;

    void ApplyLanguage();
    void btnOKClick();

private:
    TDeviceList &FDeviceList;
    int FKey; // tree index of the device node
    quint8 FLanguage;
    std::function<void()> FListChanged;
    TEquipEditTexts FTexts;
    QLineEdit *FName;
    QComboBox *FAddr;
};
