#pragma once

#include <QList>
#include <QString>

// The samples behind a three-phase voltage graph: one sample per view
// refresh, each with the time it was taken. The graph starts over empty when
// it reaches kRestartCount samples, so it shows at most the last
// kRestartCount - 1 refreshes; a sample's place on the time axis is its
// index (the first at 0).
class VoltageTrend
{
public:
    static constexpr int kRestartCount = 120;

    struct Sample {
        double a;
        double b;
        double c;
        QString time; // "hh:mm:ss"
    };

    // Adds the sample; returns true when the graph then started over, in
    // which case it is empty.
    bool append(const Sample &sample);
    void clear() { m_samples.clear(); }

    int count() const { return static_cast<int>(m_samples.size()); }
    const QList<Sample> &samples() const { return m_samples; }

private:
    QList<Sample> m_samples;
};
