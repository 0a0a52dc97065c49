#pragma once

#include "model/DeviceNodeLook.h"

#include <QIcon>

// Icons of the device tree, drawn rather than loaded: a UPS cabinet with a
// status lamp (grey off-line, green online, amber alarm) and a small page
// for the child nodes.
namespace TreeIcons {

QIcon Icon(TTreeIcon icon);

} // namespace TreeIcons
