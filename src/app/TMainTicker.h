#pragma once

#include <QtGlobal>

// Divides the main window's 10 ms timer: a status pass on every 11th tick
// and a view refresh on every 6th status pass, so every 66th tick.
class TMainTicker
{
public:
    struct TStep {
        bool StatusPass = false;
        bool Refresh = false;
    };

    TStep Tick();

    quint8 TickCounter() const { return FTickCounter; }
    quint8 RefreshCounter() const { return FRefreshCounter; }

private:
    quint8 FTickCounter = 0;    // ticks since the last status pass, 0 to 10
    quint8 FRefreshCounter = 0; // status passes since the last refresh, 0 to 5
};
