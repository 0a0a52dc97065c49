#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The status page and its script, style and icon, compiled into the
// program. Only the paths of this fixed table answer; no request path is
// ever used to look anything up, so nothing outside it can be reached.
struct TPageAsset {
    QByteArray Body;
    QByteArray ContentType;
};

std::optional<TPageAsset> StatusPageAsset(const QString &path);
