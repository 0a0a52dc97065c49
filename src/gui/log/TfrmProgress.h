#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;

// The small window that shows how far an export has got. It is made once
// and shown only while an export runs.
class TfrmProgress : public QDialog {
    Q_OBJECT
public:
    explicit TfrmProgress(quint8 language, QWidget *parent = nullptr);

    void SetLanguage(quint8 language) { FLanguage = language; }

    // The bar at the smaller of done and total out of total, the count beside it.
    void SetProgress(qint64 done, qint64 total);

private:
    quint8 FLanguage;
    QLabel *FText;
    QProgressBar *FBar;
    QLabel *FCount;
};
