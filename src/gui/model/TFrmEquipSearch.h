#pragma once

#include "model/DeviceWindowTexts.h"
#include "model/TAppendTableModel.h"
#include "model/TEquipSearch.h"

#include <QDialog>

#include <functional>

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableView;
class TDeviceList;
class TPollEngine;
struct TEngineState;

// The equipment search window: a view on the search the engine runs
// (TEquipSearch) and on the table of devices to append. While open it is
// the engine's search cursor. It cannot be closed while a search runs.
class TFrmEquipSearch : public QDialog
{
    Q_OBJECT

public:
    // pollEngine may be null when no engine runs; the search then never
    // advances. listChanged rebuilds the device tree and saves the list
    // after an append.
    TFrmEquipSearch(TDeviceList &deviceList, TEngineState &engineState, TPollEngine *pollEngine,
                    quint8 language, std::function<void()> listChanged, QWidget *parent = nullptr);
    ~TFrmEquipSearch() override;

    // A plain message box; tests replace it.
    std::function<void(const QString &text)> ShowMessage;

    void ApplyLanguage();
    void UpdateSearchUi();
    void ListExisting(bool sorted);

    void btnSearchClick();
    void btnSelOneClick();
    void btnSelAllClick();
    void btnClearClick();
    void btnAppendClick();

    TEquipSearch &Search() { return FSearch; }
    const TAppendTableModel &Table() const { return FTable; }
    TAppendTableModel &Table() { return FTable; }

    // Refused, with a message, while a search runs.
    void reject() override;

private:
    void BuildLayout();
    void OnRangeEdited();
    void RefreshFoundList();

    TDeviceList &FDeviceList;
    TPollEngine *FPollEngine;
    quint8 FLanguage;
    std::function<void()> FListChanged;
    TEquipSearchTexts FTexts;
    TEquipSearch FSearch;
    TAppendTableModel FTable;

    QSpinBox *FStart = nullptr;
    QSpinBox *FEnd = nullptr;
    QPushButton *FSearchButton = nullptr;
    QProgressBar *FProgress = nullptr;
    QLabel *FFinished = nullptr;
    QListWidget *FSearched = nullptr;
    QListWidget *FExist = nullptr;
    QTableView *FGrid = nullptr;
};
