#pragma once

#include "log/TEventFilter.h"

#include <QObject>

class QCheckBox;
class QHBoxLayout;
class QLabel;
class QSpinBox;
class QWidget;

// The year, month and day fields and the address filter of the log viewers,
// laid out in one row.
class LogFilterFields : public QObject {
    Q_OBJECT
public:
    // The fields' objectNames differ between the viewers.
    LogFilterFields(QWidget *owner, const char *yearName, const char *monthName, const char *dayName);

    QHBoxLayout *Row() const { return FRow; }
    QSpinBox *Year() const { return FYear; }
    QSpinBox *Month() const { return FMonth; }
    QSpinBox *Day() const { return FDay; }
    QCheckBox *AddrCheck() const { return FAddrCheck; }
    QSpinBox *Addr() const { return FAddr; }

    void ApplyLanguage(bool chinese);
    void SetDate(const TDateFields &date);
    // The address to filter by; 0 while the check box is cleared.
    quint16 AddrFilter() const;

private:
    QSpinBox *FYear;
    QSpinBox *FMonth;
    QSpinBox *FDay;
    QLabel *FYearLabel;
    QLabel *FMonthLabel;
    QLabel *FDayLabel;
    QCheckBox *FAddrCheck;
    QSpinBox *FAddr;
    QHBoxLayout *FRow;
};
