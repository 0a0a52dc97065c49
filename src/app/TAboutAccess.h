#pragma once

#include <QChar>
#include <QString>

// The About box's two ways to the hidden Trace window: the access code
// typed as digits, or a fourth double click on the product line.
class TAboutAccess {
public:
    static inline const QString kAccessCode = QStringLiteral("52093716");
    static constexpr int kMaxDigits = 10;
    static constexpr int kDoubleClicksToOpen = 4;

    // What a typed character asks of the About box.
    enum class TKeyAction {
        None,
        Close,     // Escape
        HideTrace, // any character but a digit
        OpenTrace, // the collected digits are the access code
    };

    // A digit is collected; an eleventh empties the collection. Any other
    // character empties it too.
    TKeyAction KeyPress(QChar c);
    // True on the double click that opens the Trace window.
    bool DoubleClick();
    // Opening the Trace window and closing the box start both over.
    void Reset();

    const QString &Digits() const { return FDigits; }
    int DoubleClicks() const { return FDoubleClicks; }

private:
    QString FDigits;
    int FDoubleClicks = 0;
};
