#pragma once

#include <memory>

class TBusTransport;
struct TPortInfo;

// The transport the port settings ask for: a serial line for "COMn" and
// device paths, a raw TCP or a Modbus TCP link for the network forms.
// Throws ECommsError with the text to show when the combination cannot
// work (Modbus TCP carries the Modbus protocol only).
std::unique_ptr<TBusTransport> MakeBusTransport(const TPortInfo &port);
