#include "app/MainCommandRules.h"

#include "model/TUpsInfo.h"

bool ControlCommandsVisible(quint8 protocol)
{
    return protocol == 2 || protocol == 3;
}

bool DeviceCommandsEnabled(qint32 selectedTreeIndex)
{
    return selectedTreeIndex >= 0;
}

bool UserSettingsAllowed(const TUpsInfo &selected)
{
    return selected.LinkState == kLinkOnline;
}
