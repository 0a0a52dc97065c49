#pragma once

// Watches this process's memory from outside, as a monitoring tool would:
// a child process reads /proc/PID/status every 2 ms and keeps the highest
// anonymous memory (RssAnon: heap, stacks, everything that is not the page
// cache of a file) it has seen. Make it before any thread is started (before
// the QApplication), since it forks.
class OutsideMemorySampler {
public:
    struct Figures {
        long RssAnonKb = -1;     // now
        long RssFileKb = -1;     // now: mapped files and the program's own pages
        long VmRssKb = -1;       // now: both
        long PeakRssAnonKb = -1; // highest since the last Mark()
    };

    OutsideMemorySampler();
    ~OutsideMemorySampler();
    OutsideMemorySampler(const OutsideMemorySampler &) = delete;
    OutsideMemorySampler &operator=(const OutsideMemorySampler &) = delete;

    // The figures now; the peak starts again from here.
    Figures Mark();
    // The figures now, with the peak since the last Mark().
    Figures Read();

private:
    Figures Ask(char command);

    int FSocket = -1;
    int FChild = -1;
};
