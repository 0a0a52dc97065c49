#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

// The small window that shows how far an export has got, with a Cancel
// button. It is made once and shown only while an export runs; while it
// shows, the program's other windows take no input, so nothing can change
// the grid being written.
class TfrmProgress : public QDialog {
    Q_OBJECT
public:
    explicit TfrmProgress(quint8 language, QWidget *parent = nullptr);

    void SetLanguage(quint8 language);

    // The bar at the smaller of done and total out of total, the count beside it.
    void SetProgress(qint64 done, qint64 total);

    // Shows the window for a new export, not cancelled.
    void Start(qint64 total);
    // Whether the user pressed Cancel or closed the window since Start.
    bool Cancelled() const { return FCancelled; }

protected:
    void reject() override;

private:
    quint8 FLanguage;
    bool FCancelled = false;
    QLabel *FText;
    QProgressBar *FBar;
    QLabel *FCount;
    QPushButton *FCancel;
};
