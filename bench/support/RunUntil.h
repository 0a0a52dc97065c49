#pragma once

#include <QEventLoop>
#include <QObject>
#include <QTimer>

#include <functional>

// Runs the event loop until done() holds or timeoutMs has passed; returns
// whether done() held. The benchmarks that drive real I/O wait with it.
inline bool RunUntil(const std::function<bool()> &done, int timeoutMs)
{
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, [&] {
        if (done())
            loop.quit();
    });
    check.start(5);
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    deadline.start(timeoutMs);
    if (!done())
        loop.exec();
    return done();
}
