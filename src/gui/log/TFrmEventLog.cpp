#include "gui/log/TFrmEventLog.h"

#include "app/TSettings.h"
#include "gui/widgets/LogFilterFields.h"
#include "gui/widgets/LogGridView.h"
#include "log/TEventLog.h"
#include "log/ViewerDate.h"
#include "model/TextLanguage.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

namespace {

enum TViewMode { kViewAll = 0, kViewYear = 1, kViewMonth = 2, kViewDay = 3 };

const int kColumnWidths[TEventLogModel::kColumnCount] = {67, 148, 101, 448};

} // namespace

TFrmEventLog::TFrmEventLog(TEventLog &store, const TSettings &settings, const quint8 &debugShow,
                           TfrmProgress *progress, TClock clock, QWidget *parent)
    : QDialog(parent), FStore(store), FSettings(settings), FDebugShow(debugShow), FProgress(progress),
      FClock(std::move(clock)), FModel(settings.Language)
{
    setObjectName(QStringLiteral("FrmEventLog"));
    BuildLayout();
    FTimer = new QTimer(this);
    FTimer->setObjectName(QStringLiteral("tmr1"));
    FTimer->setInterval(2000);
    connect(FTimer, &QTimer::timeout, this, &TFrmEventLog::tmr1Timer);
    FTimer->start();
}

void TFrmEventLog::BuildLayout()
{
    FViewModeBox = new QGroupBox(this);
    FViewModeBox->setObjectName(QStringLiteral("rdViewMode"));
    FViewMode = new QButtonGroup(this);
    auto *modeRow = new QHBoxLayout(FViewModeBox);
    for (int mode = kViewAll; mode <= kViewDay; ++mode) {
        auto *item = new QRadioButton(FViewModeBox);
        FViewMode->addButton(item, mode);
        modeRow->addWidget(item);
    }
    FViewMode->button(kViewMonth)->setChecked(true);

    FFields = new LogFilterFields(this, "spedtYear", "spedtMonth", "spedtDate");

    FSearch = new QPushButton(this);
    FSearch->setObjectName(QStringLiteral("btnSearch"));
    FRefresh = new QPushButton(this);
    FRefresh->setObjectName(QStringLiteral("bsSkinButton1"));
    FExport = new QPushButton(this);
    FExport->setObjectName(QStringLiteral("bsSkinButton2"));
    FClear = new QPushButton(this);
    FClear->setObjectName(QStringLiteral("btnClear"));

    FGrid = new LogGridView(FModel, FSort, this);
    FGrid->setObjectName(QStringLiteral("grdEvntRec"));
    for (int column = 0; column < TEventLogModel::kColumnCount; ++column)
        FGrid->setColumnWidth(column, kColumnWidths[column]);
    FGrid->horizontalHeader()->setStretchLastSection(true);

    FDebugEdit = new QLineEdit(this);
    FDebugEdit->setObjectName(QStringLiteral("edt1"));
    FDebugEdit->setReadOnly(true);
    FDebugEdit->hide();

    auto *filterColumn = new QVBoxLayout;
    filterColumn->addWidget(FViewModeBox);
    filterColumn->addLayout(FFields->Row());

    auto *buttonGrid = new QVBoxLayout;
    auto *buttonsTop = new QHBoxLayout;
    buttonsTop->addWidget(FSearch);
    buttonsTop->addWidget(FRefresh);
    auto *buttonsBottom = new QHBoxLayout;
    buttonsBottom->addWidget(FExport);
    buttonsBottom->addWidget(FClear);
    buttonGrid->addLayout(buttonsTop);
    buttonGrid->addLayout(buttonsBottom);

    auto *top = new QHBoxLayout;
    top->addLayout(filterColumn, 1);
    top->addLayout(buttonGrid);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(FGrid, 1);
    layout->addWidget(FDebugEdit);
    resize(800, 520);

    connect(FViewMode, &QButtonGroup::idClicked, this, [this] { UpdateFieldStates(); });
    connect(FSearch, &QPushButton::clicked, this, &TFrmEventLog::LoadEvents);
    connect(FRefresh, &QPushButton::clicked, this, &TFrmEventLog::ApplySort);
    connect(FExport, &QPushButton::clicked, this, &TFrmEventLog::ExportClick);
    connect(FClear, &QPushButton::clicked, this, &TFrmEventLog::btnClearClick);
    connect(FGrid, &QTableView::clicked, this, [this](const QModelIndex &index) { FSelRow = index.row() + 1; });
    connect(FGrid, &LogGridView::Sorted, this, [this] {
        FDebugEdit->setVisible(FDebugShow != 0);
        FDebugEdit->setText(FSort.DebugText());
    });
    UpdateFieldStates();
}

void TFrmEventLog::ApplyLanguage()
{
    const bool zh = IsChineseLanguage(FSettings.Language);
    setWindowTitle(LanguageText(zh, "事件日志", "Event Log"));
    FViewModeBox->setTitle(LanguageText(zh, "查询时间范围", "Search Type"));
    static const char *const kItemsZh[] = {"全部", "按年", "按月", "按日"};
    static const char *const kItemsEn[] = {"All", "Year", "Month", "Date"};
    for (int mode = kViewAll; mode <= kViewDay; ++mode)
        FViewMode->button(mode)->setText(LanguageText(zh, kItemsZh[mode], kItemsEn[mode]));
    FFields->ApplyLanguage(zh);
    FSearch->setText(LanguageText(zh, "查询", "Search"));
    FRefresh->setText(LanguageText(zh, "刷新", "Refresh"));
    FExport->setText(LanguageText(zh, "汇出", "Export"));
    FClear->setText(LanguageText(zh, "清空数据库", "Clear Database"));
}

void TFrmEventLog::UpdateFieldStates()
{
    const int mode = FViewMode->checkedId();
    FFields->Year()->setEnabled(mode >= kViewYear);
    FFields->Month()->setEnabled(mode >= kViewMonth);
    FFields->Day()->setEnabled(mode == kViewDay);
}

void TFrmEventLog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    ApplyLanguage();
    FFields->SetDate(TodayFields(FClock()));
    LoadEvents();
}

TEventFilter TFrmEventLog::GetFilter() const
{
    TEventFilter filter{static_cast<quint16>(FFields->Year()->value()), static_cast<quint16>(FFields->Month()->value()),
                        static_cast<quint16>(FFields->Day()->value()), FFields->AddrFilter()};
    switch (FViewMode->checkedId()) {
    case kViewAll:
        filter.Year = 0;
        [[fallthrough]];
    case kViewYear:
        filter.Month = 0;
        [[fallthrough]];
    case kViewMonth:
        filter.Day = 0;
        break;
    default:
        break;
    }
    return filter;
}

void TFrmEventLog::ClearGrid()
{
    FModel.ClearGrid();
}

void TFrmEventLog::LoadEvents()
{
    ClearGrid();
    const TEventFilter filter = GetFilter();
    FStore.RecordCount(); // creates the file when it is missing
    std::vector<TEventRec> records;
    try {
        records = FStore.ReadAllEvents();
    } catch (const ELogFileError &) {
        return; // an unreadable file leaves the list empty, unsorted, unselected
    }
    FModel.Load(records, filter);
    ApplySort();
    SelectRow(FSelRow);
}

void TFrmEventLog::SelectRow(int gridRow)
{
    if (gridRow <= 0)
        return;
    const int row = std::min(gridRow, FModel.rowCount()) - 1;
    FGrid->selectRow(row);
    FGrid->scrollTo(FModel.index(row, 0));
}

void TFrmEventLog::ApplySort()
{
    FGrid->ApplySort();
}

void TFrmEventLog::btnClearClick()
{
    const bool zh = IsChineseLanguage(FSettings.Language);
    if (!Prompts.Confirm(this, LanguageText(zh, "是否清除掉所有的事件记录？", "Are you sure Delete all records ? "),
                         LanguageText(zh, "请确定", "Confirm")))
        return;
    try {
        FStore.ClearLog();
    } catch (const std::exception &error) {
        Prompts.ShowError(this, QString::fromUtf8(error.what()));
        return;
    }
    ClearGrid();
}

void TFrmEventLog::ExportClick()
{
    // The export writes the list as it was when Export was pressed: the
    // reload on new records waits, through the save dialog too, until the
    // file is written, and then catches up at its next tick.
    FTimer->stop();
    try {
        ExportGridCsv(this, FModel, FGrid->ShownColumns(), FSettings.Language, Prompts, FProgress);
    } catch (const std::exception &error) {
        Prompts.ShowError(this, QString::fromUtf8(error.what()));
    }
    FTimer->start();
}

void TFrmEventLog::tmr1Timer()
{
    if (FStore.NewRecord() == 0)
        return;
    FStore.ResetNewRecord();
    FSelRow = 1;
    FSort.SetSortDir(TGridSortState::kAscending);
    LoadEvents();
}
