#pragma once

#include <QLatin1String>

// A control with the object name by which tests and captions find it.
template <typename T>
T *Named(T *control, const char *name)
{
    control->setObjectName(QLatin1String(name));
    return control;
}
