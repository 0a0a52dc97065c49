#pragma once

#include <QString>

// Starting the program with the desktop session: an XDG autostart entry
// "Orvan 2000.desktop" that runs the program file. It goes into the system
// autostart directory when that is writable (every user's session), else
// into the user's own.
class TAutoStartEntry {
public:
    static inline const QString kAppTitle = QStringLiteral("Orvan 2000");

    TAutoStartEntry(QString systemDir, QString userDir, QString programPath);
    // /etc/xdg/autostart, $XDG_CONFIG_HOME/autostart (~/.config/autostart
    // when unset) and this program's file.
    static TAutoStartEntry ForThisSystem();

    // Adds the entry when autoStart is true and none exists (an existing
    // entry is left as it is, whatever it runs), removes it when false.
    // A directory that cannot be made leaves everything as it is, without a
    // word. Throws std::runtime_error "Failed to set data for 'Orvan 2000'"
    // when the entry cannot be written.
    void Apply(bool autoStart) const;

    // Where an entry is, or an empty text when there is none.
    QString ExistingEntry() const;
    // The directory a new entry goes into.
    QString TargetDir() const;
    // The text of the entry for a program file.
    static QByteArray EntryText(const QString &programPath);

private:
    QString FSystemDir;
    QString FUserDir;
    QString FProgramPath;
};
