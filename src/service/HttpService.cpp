#include "service/HttpService.h"

#include "service/THttpServer.h"
#include "service/THttpSettings.h"

std::unique_ptr<THttpServer> StartHttpService(const QString &settingsFile, THttpData data, const TServiceLog &log)
{
    const THttpSettings settings = THttpSettings::Load(settingsFile);
    if (!settings.Enabled)
        return nullptr;
    QStringList problems;
    const QList<TListenAddress> addresses = TListenAddress::ParseList(settings.Listen, &problems);
    auto server = std::make_unique<THttpServer>(std::move(data), log);
    const bool listening = server->Listen(addresses, &problems);
    if (!listening)
        problems << QStringLiteral("HTTP server is enabled but listens nowhere (Listen=%1)").arg(settings.Listen);
    if (log)
        for (const QString &problem : problems)
            log(problem);
    return listening ? std::move(server) : nullptr;
}
