#include "gui/model/TFrmNewEquip.h"

#include "gui/widgets/CaptionApplier.h"
#include "gui/widgets/EquipEditLayout.h"
#include "gui/widgets/PlainMessage.h"
#include "model/EquipEditRules.h"
#include "model/TDeviceList.h"
#include "model/TDeviceNode.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

TFrmNewEquip::TFrmNewEquip(TDeviceList &deviceList, quint8 language, std::function<void()> listChanged,
                           QWidget *parent)
    : QDialog(parent), FDeviceList(deviceList), FLanguage(language), FListChanged(std::move(listChanged))
{
    setObjectName(QStringLiteral("TFrmNewEquip"));
    ShowMessage = [this](const QString &text) { ShowPlainMessage(this, text); };
    const EquipEditLayout form = EquipEditLayout::Build(*this, "btnNew");
    FName = form.Name;
    FAddr = form.Addr;
    connect(form.Confirm, &QPushButton::clicked, this, &TFrmNewEquip::btnNewClick);

    ApplyLanguage();
    for (quint8 addr : FreeAddresses(FDeviceList))
        FAddr->addItem(QString::number(addr));
    FAddr->setCurrentIndex(-1);
}

void TFrmNewEquip::ApplyLanguage()
{
    FTexts = NewEquipTexts(FLanguage);
    ApplyCaptions(this, NewEquipCaptions(FLanguage));
}

void TFrmNewEquip::btnNewClick()
{
    const QString name = FName->text();
    const TNameCheck check = CheckEquipName(name);
    if (check == TNameCheck::Empty) {
        ShowMessage(FTexts.NameEmpty);
        return;
    }
    if (FAddr->currentIndex() < 0) {
        ShowMessage(FTexts.AddrEmpty);
        return;
    }
    if (check == TNameCheck::TooLong) {
        ShowMessage(FTexts.NameTooLong);
        return;
    }
    const auto addr = static_cast<quint8>(FAddr->currentText().toInt());
    FDeviceList.AddDevice(TDeviceNode::Make(addr, name));
    if (FListChanged)
        FListChanged();
    accept();
}
