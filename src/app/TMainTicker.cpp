#include "app/TMainTicker.h"

TMainTicker::TStep TMainTicker::Tick()
{
    if (FTickCounter < 10) {
        ++FTickCounter;
        return {};
    }
    FTickCounter = 0;
    if (FRefreshCounter < 5) {
        ++FRefreshCounter;
        return {true, false};
    }
    FRefreshCounter = 0;
    return {true, true};
}
