#pragma once

#include <QByteArray>

struct THttpData;

// The body of GET /metrics: every listed device's link, state, alarms and
// values, and the bus statistics, in the Prometheus text format. A device
// that is not online shows its link state and the time of its last reply
// only: its other values would be stale.
QByteArray MetricsText(const THttpData &data);
