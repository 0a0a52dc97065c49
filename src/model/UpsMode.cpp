#include "model/UpsMode.h"

UpsMode ModeForState(int state)
{
    switch (state) {
    case -1: return UpsMode::None;
    case 3: return UpsMode::Bypass;
    case 4: return UpsMode::Online;
    case 5: return UpsMode::Battery;
    case 6: return UpsMode::Test;
    case 8: return UpsMode::Economy;
    case 11: return UpsMode::Fault;
    default: return UpsMode::Standby;
    }
}
