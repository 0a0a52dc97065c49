#pragma once

#include <functional>

// Runs the event loop until done() holds or timeoutMs has passed; returns
// whether done() held. For waits on real I/O: the bound is generous and only
// reached when the awaited event never comes.
bool WaitUntil(const std::function<bool()> &done, int timeoutMs = 5000);
