#include "model/VoltageTrend.h"

bool VoltageTrend::append(const Sample &sample)
{
    m_samples.append(sample);
    if (m_samples.size() % kRestartCount != 0)
        return false;
    m_samples.clear();
    return true;
}
