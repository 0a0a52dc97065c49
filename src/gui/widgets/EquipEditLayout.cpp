#include "gui/widgets/EquipEditLayout.h"

#include <QComboBox>
#include <QDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

EquipEditLayout EquipEditLayout::Build(QDialog &window, const char *confirmName)
{
    auto *name = new QLineEdit(&window);
    name->setObjectName(QStringLiteral("edtEquipName"));
    name->setMinimumWidth(220);
    auto *addr = new QComboBox(&window);
    addr->setObjectName(QStringLiteral("cbxAddr"));
    auto *nameLabel = new QLabel(&window);
    nameLabel->setObjectName(QStringLiteral("lblEquipName"));
    auto *addrLabel = new QLabel(&window);
    addrLabel->setObjectName(QStringLiteral("lblEquipAddr"));
    auto *confirm = new QPushButton(&window);
    confirm->setObjectName(QLatin1String(confirmName));
    confirm->setDefault(true);
    auto *cancel = new QPushButton(&window);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    QObject::connect(cancel, &QPushButton::clicked, &window, &QDialog::reject);

    auto *fields = new QFormLayout;
    fields->addRow(nameLabel, name);
    fields->addRow(addrLabel, addr);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(confirm);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(&window);
    layout->addLayout(fields);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    return {name, addr, confirm};
}
