#include "service/StatusPageAssets.h"

#include <QFile>

namespace {

struct TAssetRow {
    const char *UrlPath;
    const char *Resource;
    const char *ContentType;
};

const TAssetRow kAssets[] = {
    {"/", ":/orvan/statuspage/index.html", "text/html; charset=utf-8"},
    {"/status.js", ":/orvan/statuspage/status.js", "text/javascript; charset=utf-8"},
    {"/status.css", ":/orvan/statuspage/status.css", "text/css; charset=utf-8"},
    {"/icon.svg", ":/orvan/statuspage/icon.svg", "image/svg+xml"},
};

} // namespace

std::optional<TPageAsset> StatusPageAsset(const QString &path)
{
    // The resources sit in a static library: without this reference the
    // linker would leave them out of the program.
    static const bool registered = [] {
        Q_INIT_RESOURCE(statuspage);
        return true;
    }();
    Q_UNUSED(registered);
    for (const TAssetRow &row : kAssets) {
        if (path != QLatin1String(row.UrlPath))
            continue;
        QFile resource(QString::fromLatin1(row.Resource));
        if (!resource.open(QIODevice::ReadOnly))
            return std::nullopt;
        return TPageAsset{resource.readAll(), row.ContentType};
    }
    return std::nullopt;
}
