#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QSet>
#include <QString>
#include <QStringList>

#include <vector>

// One user of the NUT server, as a section of "upsd.users" describes it.
struct TNutUser {
    enum TUpsmon { kNoUpsmon, kSecondary, kPrimary };

    QByteArray Name;
    QByteArray Password;
    QSet<QByteArray> Actions;  // upper case: SET, FSD
    QSet<QByteArray> InstCmds; // lower case
    bool AllInstCmds = false;
    TUpsmon Upsmon = kNoUpsmon;

    // LOGIN: any upsmon.
    bool MayLogin() const { return Upsmon != kNoUpsmon; }
    // PRIMARY (MASTER).
    bool IsPrimary() const { return Upsmon == kPrimary; }
    // FSD: a primary upsmon, or the FSD action.
    bool MayForceShutdown() const { return IsPrimary() || Actions.contains("FSD"); }
    bool MaySet() const { return Actions.contains("SET"); }
    bool MayRun(QByteArrayView instCmd) const;
};

// The users of the NUT server, in NUT's own "upsd.users" format:
//
//   [admin]
//       password = "secret"
//       instcmds = test.battery.start
//       instcmds = ALL
//       actions = SET FSD
//       upsmon primary
//
// Names and passwords are case-sensitive; keys are not. A missing file
// means no users, so nobody can log in or run a command.
class TNutUsers
{
public:
    // Problems found are appended to problems as "upsd.users line N: ...",
    // never with a password in them; the rest of the file still counts.
    static TNutUsers Load(const QString &path, QStringList *problems = nullptr);
    static TNutUsers Parse(QByteArrayView text, QStringList *problems = nullptr);

    // The user these credentials name when the password is right; null
    // for an unknown user or a wrong password.
    const TNutUser *Authenticate(QByteArrayView name, QByteArrayView password) const;

    int Count() const { return static_cast<int>(FUsers.size()); }

private:
    std::vector<TNutUser> FUsers;
};
