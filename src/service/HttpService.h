#pragma once

#include "service/ServiceLog.h"
#include "service/THttpData.h"

#include <QString>

#include <memory>

class THttpServer;

// Starts the HTTP side as the "Http" section of the settings file says:
// null when it is not enabled, or when it listens nowhere (every problem is
// logged). The one place where the monitor and the headless service start it.
std::unique_ptr<THttpServer> StartHttpService(const QString &settingsFile, THttpData data, const TServiceLog &log);
