#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// A pseudo-terminal pair standing in for a serial line. The program under
// test opens SlavePath() like any serial device; the test plays the other
// end of the line through the master side. Both sides are closed on
// destruction.
class PtyPair
{
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair &) = delete;
    PtyPair &operator=(const PtyPair &) = delete;

    QString SlavePath() const { return FSlavePath; }
    int MasterFd() const { return FMaster; }
    // The test's own descriptor of the program's side, for reading back the
    // line settings the program applied.
    int SlaveFd() const { return FSlave; }

    // Writes all of bytes to the line; false when the master is closed or
    // the write fails.
    bool WriteToMaster(QByteArrayView bytes);
    // Whatever the program has sent so far and the test has not read yet;
    // never blocks.
    QByteArray ReadAvailableFromMaster();
    // Hangs up the line, as an unplugged adapter would.
    void CloseMaster();

private:
    int FMaster = -1;
    // Held open so that the line stays up while the program closes and
    // reopens its side.
    int FSlave = -1;
    QString FSlavePath;
};
