#pragma once

#include <QIcon>
#include <QSize>

#include <functional>

class QPainter;

// An icon drawn by code at its design size, in normal and double density, so
// it stays sharp on high-density screens.
QIcon PaintedIcon(QSize designSize, const std::function<void(QPainter &)> &paint);
