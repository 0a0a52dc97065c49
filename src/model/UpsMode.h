#pragma once

// The operating-mode pictures of the sketch map. A device shows one picture
// for its state code, or none while no state is known.
enum class UpsMode { None, Standby, Online, Bypass, Battery, Test, Economy, Fault };

UpsMode ModeForState(int state);
