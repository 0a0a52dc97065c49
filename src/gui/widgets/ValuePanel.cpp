#include "gui/widgets/ValuePanel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

ValuePanel::ValuePanel(const QString &panelName, const QString &valueName, const QString &unit,
                       QWidget *parent)
    : QFrame(parent), m_title(new QLabel(this)), m_value(new QLabel(QStringLiteral("0"), this))
{
    setObjectName(panelName);
    setProperty("valuePanel", true);
    m_title->setProperty("panelTitle", true);
    m_value->setObjectName(valueName);
    m_value->setProperty("valueText", true);
    m_value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto *unitLabel = new QLabel(unit, this);
    unitLabel->setProperty("unitText", true);

    auto *reading = new QHBoxLayout;
    reading->setSpacing(4);
    reading->addStretch(1);
    reading->addWidget(m_value);
    reading->addWidget(unitLabel, 0, Qt::AlignBottom);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 5, 8, 5);
    layout->setSpacing(1);
    layout->addWidget(m_title);
    layout->addLayout(reading);
}

QString ValuePanel::title() const
{
    return m_title->text();
}

void ValuePanel::setTitle(const QString &title)
{
    m_title->setText(title);
}
