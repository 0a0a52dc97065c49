#pragma once

#include <QLatin1String>

// Model names the password prompt's entry is compared with, exactly and
// case-sensitively. Each one changes what the parameter windows offer.
namespace ModelNames {

// Low-voltage mains: 110 V class voltage levels and a 24-cell battery.
inline const QLatin1String Qmx480("QMX480");
// Short battery strings of 16 to 20 cells.
inline const QLatin1String Rnb6800("RNB6800");
// Wants register 50000 written ahead of every parameter write.
inline const QLatin1String Vtr5400("VTR5400");
// Has the operation mode register 40029.
inline const QLatin1String Qmx960ld("QMX960LD");

} // namespace ModelNames
