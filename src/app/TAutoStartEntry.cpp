#include "app/TAutoStartEntry.h"

#include "app/TAppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <stdexcept>

namespace {

QString EntryPath(const QString &dir)
{
    return QDir(dir).filePath(TAutoStartEntry::kAppTitle + QStringLiteral(".desktop"));
}

// An argument of an Exec line: quoted, with the characters that are
// special inside quotes escaped, and "%" doubled (field codes).
QString ExecArgument(const QString &path)
{
    QString quoted;
    for (QChar c : path) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        quoted += c;
        if (c == QLatin1Char('%'))
            quoted += QLatin1Char('%');
    }
    // The desktop entry format escapes backslashes once more in every value.
    quoted.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace

TAutoStartEntry::TAutoStartEntry(QString systemDir, QString userDir, QString programPath)
    : FSystemDir(std::move(systemDir)), FUserDir(std::move(userDir)), FProgramPath(std::move(programPath))
{
}

TAutoStartEntry TAutoStartEntry::ForThisSystem()
{
    return TAutoStartEntry(QStringLiteral("/etc/xdg/autostart"),
                           QDir(TAppPaths::XdgConfigHome()).filePath(QStringLiteral("autostart")),
                           QCoreApplication::applicationFilePath());
}

QString TAutoStartEntry::TargetDir() const
{
    const QFileInfo system(FSystemDir);
    return system.isDir() && system.isWritable() ? FSystemDir : FUserDir;
}

QString TAutoStartEntry::ExistingEntry() const
{
    for (const QString &dir : {FSystemDir, FUserDir}) {
        if (QFileInfo(EntryPath(dir)).isFile())
            return EntryPath(dir);
    }
    return {};
}

QByteArray TAutoStartEntry::EntryText(const QString &programPath)
{
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=%1\n"
                          "Exec=%2\n"
                          "Terminal=false\n"
                          "X-GNOME-Autostart-enabled=true\n")
        .arg(kAppTitle, ExecArgument(programPath))
        .toUtf8();
}

void TAutoStartEntry::Apply(bool autoStart) const
{
    if (!autoStart) {
        // Both places: an entry left behind in either would still start us.
        for (const QString &dir : {FSystemDir, FUserDir})
            QFile::remove(EntryPath(dir));
        return;
    }
    if (!ExistingEntry().isEmpty())
        return;
    const QString dir = TargetDir();
    if (!QDir().mkpath(dir))
        return;
    QSaveFile file(EntryPath(dir));
    if (!file.open(QIODevice::WriteOnly) || file.write(EntryText(FProgramPath)) < 0 || !file.commit())
        throw std::runtime_error("Failed to set data for '" + kAppTitle.toStdString() + "'");
}
