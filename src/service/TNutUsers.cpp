#include "service/TNutUsers.h"

#include "service/NutText.h"

#include <QFile>

namespace {

// Takes as long for a wrong password as for a right one of the same length,
// so the time of an answer tells nothing about how much of it was right.
bool SameBytes(QByteArrayView a, QByteArrayView b)
{
    unsigned char difference = a.size() == b.size() ? 0 : 1;
    const qsizetype n = qMin(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i)
        difference |= static_cast<unsigned char>(a[i] ^ b[i]);
    return difference == 0;
}

class TUsersParser
{
public:
    explicit TUsersParser(QStringList *problems) : FProblems(problems) {}

    std::vector<TNutUser> Parse(QByteArrayView text)
    {
        int number = 0;
        for (QByteArrayView rest = text; !rest.isEmpty();) {
            const qsizetype end = rest.indexOf('\n');
            const QByteArrayView line = end < 0 ? rest : rest.first(end);
            rest = end < 0 ? QByteArrayView() : rest.sliced(end + 1);
            ParseLine(++number, line);
        }
        return std::move(FUsers);
    }

private:
    void Problem(int line, const QString &text)
    {
        if (FProblems != nullptr)
            FProblems->append(QStringLiteral("upsd.users line %1: %2").arg(line).arg(text));
    }

    void ParseLine(int number, QByteArrayView line)
    {
        const QByteArrayView trimmed = line.trimmed();
        if (trimmed.startsWith('[')) {
            if (!trimmed.endsWith(']') || trimmed.size() < 3) {
                Problem(number, QStringLiteral("a section name needs its closing bracket"));
                FInUser = false;
                return;
            }
            FUsers.push_back(TNutUser{});
            FUsers.back().Name = trimmed.sliced(1, trimmed.size() - 2).trimmed().toByteArray();
            FInUser = true;
            return;
        }
        const std::optional<QList<QByteArray>> words = NutText::SplitLine(line, true);
        if (!words) {
            Problem(number, QStringLiteral("a quote is left open"));
            return;
        }
        if (words->isEmpty())
            return;
        if (!FInUser) {
            Problem(number, QStringLiteral("a setting outside a user's section is ignored"));
            return;
        }
        TNutUser &user = FUsers.back();
        // "key = value ...", "key=value" or "upsmon primary"
        QByteArray key = words->first();
        QList<QByteArray> values = words->mid(1);
        if (const qsizetype equals = key.indexOf('='); equals > 0) {
            if (equals + 1 < key.size())
                values.prepend(key.mid(equals + 1));
            key.truncate(equals);
        } else if (!values.isEmpty() && values.first() == "=") {
            values.removeFirst();
        } else if (!values.isEmpty() && values.first().startsWith('=')) {
            values.first().remove(0, 1);
        }
        key = key.toLower();
        if (key == "upsmon") {
            SetUpsmon(number, user, values);
        } else if (key == "password") {
            if (values.size() != 1)
                Problem(number, QStringLiteral("password needs one value"));
            else
                user.Password = values.first();
        } else if (key == "instcmds") {
            for (const QByteArray &value : values) {
                if (value.compare("ALL", Qt::CaseInsensitive) == 0)
                    user.AllInstCmds = true;
                else
                    user.InstCmds.insert(value.toLower());
            }
        } else if (key == "actions") {
            for (const QByteArray &value : values)
                user.Actions.insert(value.toUpper());
        } else if (key == "allowfrom") {
            Problem(number, QStringLiteral("allowfrom is no longer used and is ignored"));
        } else {
            Problem(number, QStringLiteral("unknown setting \"%1\" is ignored").arg(QString::fromUtf8(key)));
        }
    }

    void SetUpsmon(int number, TNutUser &user, const QList<QByteArray> &values)
    {
        const QByteArray role = values.size() == 1 ? values.first().toLower() : QByteArray();
        if (role == "primary" || role == "master")
            user.Upsmon = TNutUser::kPrimary;
        else if (role == "secondary" || role == "slave")
            user.Upsmon = TNutUser::kSecondary;
        else
            Problem(number, QStringLiteral("upsmon needs primary or secondary"));
    }

    QStringList *FProblems;
    std::vector<TNutUser> FUsers;
    bool FInUser = false;
};

} // namespace

bool TNutUser::MayRun(QByteArrayView instCmd) const
{
    return AllInstCmds || InstCmds.contains(instCmd.toByteArray().toLower());
}

TNutUsers TNutUsers::Load(const QString &path, QStringList *problems)
{
    QFile file(path);
    if (!file.exists())
        return {};
    if (!file.open(QIODevice::ReadOnly)) {
        if (problems != nullptr)
            problems->append(QStringLiteral("%1 cannot be read: %2; nobody can log in").arg(path, file.errorString()));
        return {};
    }
    return Parse(file.readAll(), problems);
}

TNutUsers TNutUsers::Parse(QByteArrayView text, QStringList *problems)
{
    TNutUsers users;
    users.FUsers = TUsersParser(problems).Parse(text);
    return users;
}

const TNutUser *TNutUsers::Authenticate(QByteArrayView name, QByteArrayView password) const
{
    for (const TNutUser &user : FUsers) {
        // A user without a password in the file cannot log in at all.
        if (user.Name == name)
            return !user.Password.isEmpty() && SameBytes(user.Password, password) ? &user : nullptr;
    }
    return nullptr;
}
