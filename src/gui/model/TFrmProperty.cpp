#include "gui/model/TFrmProperty.h"

#include "gui/widgets/CaptionApplier.h"
#include "gui/widgets/EquipEditLayout.h"
#include "gui/widgets/PlainMessage.h"
#include "model/EquipEditRules.h"
#include "model/TDeviceList.h"
#include "model/TDeviceNode.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

TFrmProperty::TFrmProperty(TDeviceList &deviceList, int selectedTreeIndex, quint8 language,
                           std::function<void()> listChanged, QWidget *parent)
    : QDialog(parent), FDeviceList(deviceList), FKey(TDeviceList::DeviceTreeIndex(selectedTreeIndex)),
      FLanguage(language), FListChanged(std::move(listChanged))
{
    setObjectName(QStringLiteral("TFrmProperty"));
    ShowMessage = [this](const QString &text) { ShowPlainMessage(this, text); };
    const EquipEditLayout form = EquipEditLayout::Build(*this, "btnOK");
    FName = form.Name;
    FAddr = form.Addr;
    // The address only shows which device this is.
    FAddr->setEnabled(false);
    connect(form.Confirm, &QPushButton::clicked, this, &TFrmProperty::btnOKClick);

    ApplyLanguage();
    if (const TDeviceNode *device = FDeviceList.At(FDeviceList.PositionOfTreeIndex(FKey))) {
        FName->setText(device->NameText());
        FAddr->addItem(QString::number(device->Addr));
    }
}

void TFrmProperty::ApplyLanguage()
{
    FTexts = PropertyTexts(FLanguage);
    ApplyCaptions(this, PropertyCaptions(FLanguage));
}

void TFrmProperty::btnOKClick()
{
    const QString name = FName->text();
    switch (CheckEquipName(name)) {
    case TNameCheck::Empty:
        ShowMessage(FTexts.NameEmpty);
        return;
    case TNameCheck::TooLong:
        ShowMessage(FTexts.NameTooLong);
        return;
    case TNameCheck::Ok:
        break;
    }
    FDeviceList.SetDeviceName(FKey, TDeviceNode::StoredName(name));
    if (FListChanged)
        FListChanged();
    accept();
}
