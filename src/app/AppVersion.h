#pragma once

#include <QString>

// The program's version text: the four numbers of the build's version,
// or an empty text when the build carries none.
QString GetVersionString();
