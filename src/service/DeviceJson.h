#pragma once

#include "log/TEventRec.h"

#include <QByteArray>

#include <vector>

class TDeviceList;
struct THttpData;

// The body of GET /api/devices: every listed device with its link, its
// state and alarms in both languages, its values while online (null
// otherwise) and the time of its last reply.
QByteArray DevicesJson(const THttpData &data);

// The body of GET /api/events: the newest `limit` records of `records`
// (the log, oldest first) that have a text, newest first, with their texts
// in both languages.
QByteArray EventsJson(const std::vector<TEventRec> &records, const TDeviceList &devices, int limit);
