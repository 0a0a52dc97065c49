#pragma once

#include <QString>
#include <QtGlobal>

// The rules of the password prompt that stands before every window sending
// commands to a UPS. Each text the user confirms, right or wrong, also
// becomes the program's model name, which is how a service engineer tells
// the program what kind of unit it talks to.
class TPasswordCheck
{
public:
    static constexpr int kMaxLength = 10; // characters the entry box takes
    static constexpr int kMaxTries = 3;

    enum class TOutcome {
        Accepted, // the password: close with OK
        TryAgain, // wrong: show the message, stay open
        GiveUp,   // wrong for the third time: show the message, close with Cancel
    };

    explicit TPasswordCheck(QString &modelName) : FModelName(modelName) {}

    // One press of OK with the box's text: trims it, checks it and counts
    // a wrong entry.
    TOutcome Confirm(const QString &entry);

    // Stores text as the model name, then tells whether it is the password.
    bool CheckPassword(const QString &text);

    int WrongEntries() const { return FWrongEntries; }

    // The text without leading and trailing blanks and control characters.
    static QString TrimEntry(const QString &text);

    // The message after a wrong entry, in the language of the setting.
    static QString InvalidText(quint8 language);

private:
    QString &FModelName;
    int FWrongEntries = 0;
};
