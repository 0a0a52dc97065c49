#include "app/AppVersion.h"

#include "Version.h"

QString GetVersionString()
{
    return QStringLiteral(ORVAN_VERSION_TEXT);
}
