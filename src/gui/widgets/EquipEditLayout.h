#pragma once

class QComboBox;
class QDialog;
class QLineEdit;
class QPushButton;

// The form the add and property windows share: name and address fields
// with their labels (`lblEquipName`, `edtEquipName`, `lblEquipAddr`,
// `cbxAddr`) above the confirm button and `btnCancel`, which rejects.
struct EquipEditLayout {
    QLineEdit *Name;
    QComboBox *Addr;
    QPushButton *Confirm;

    static EquipEditLayout Build(QDialog &window, const char *confirmName);
};
