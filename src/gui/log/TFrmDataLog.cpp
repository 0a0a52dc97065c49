#include "gui/log/TFrmDataLog.h"

#include "app/TSettings.h"
#include "gui/log/TFrmDataLogSet.h"
#include "gui/log/TFrmDelDataRec.h"
#include "gui/log/TFrmTrend.h"
#include "gui/widgets/LogFilterFields.h"
#include "gui/widgets/LogGridView.h"
#include "log/ViewerDate.h"
#include "model/TextLanguage.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

enum TViewMode { kViewMonth = 0, kViewDay = 1 };

// A load shorter than this shows no progress window at all.
constexpr int kProgressAfterMs = 400;

QPushButton *Button(const char *name, QWidget *owner)
{
    auto *button = new QPushButton(owner);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

} // namespace

TFrmDataLog::TFrmDataLog(const QString &recordDir, TSettings &settings, const quint8 &debugShow,
                         TfrmProgress *progress, TClock clock, QWidget *parent)
    : QDialog(parent), FRecordDir(recordDir), FSettings(settings), FDebugShow(debugShow), FProgress(progress),
      FClock(std::move(clock)), FModel(settings.Language)
{
    setObjectName(QStringLiteral("FrmDataLog"));
    BuildLayout();
}

void TFrmDataLog::BuildLayout()
{
    FViewModeBox = new QGroupBox(this);
    FViewModeBox->setObjectName(QStringLiteral("rdDataViewMode"));
    FViewMode = new QButtonGroup(this);
    auto *modeRow = new QHBoxLayout(FViewModeBox);
    for (int mode : {kViewMonth, kViewDay}) {
        auto *item = new QRadioButton(FViewModeBox);
        FViewMode->addButton(item, mode);
        modeRow->addWidget(item);
    }
    FViewMode->button(kViewMonth)->setChecked(true);

    FFields = new LogFilterFields(this, "spedtYearD", "spedtMonthD", "spedtDateD");
    FFields->Day()->setEnabled(false);
    FSearch = Button("btnSearch", this);
    FRefresh = Button("btnRefresh", this);
    FLogSetting = Button("bsSkinButton2", this);
    FExport = Button("bsSkinButton1", this);
    FClearMonth = Button("btnClearMonthData", this);
    FTrend = Button("btnTrend", this);

    FGrid = new LogGridView(FModel, FSort, this);
    FGrid->setObjectName(QStringLiteral("grdRecData"));
    FGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);

    FDebugEdit = new QLineEdit(this);
    FDebugEdit->setObjectName(QStringLiteral("edt1"));
    FDebugEdit->setReadOnly(true);
    FDebugEdit->hide();

    auto *filterColumn = new QVBoxLayout;
    filterColumn->addWidget(FViewModeBox);
    filterColumn->addLayout(FFields->Row());
    auto *buttonsTop = new QHBoxLayout;
    buttonsTop->addWidget(FSearch);
    buttonsTop->addWidget(FRefresh);
    buttonsTop->addWidget(FLogSetting);
    auto *buttonsBottom = new QHBoxLayout;
    buttonsBottom->addWidget(FExport);
    buttonsBottom->addWidget(FClearMonth);
    buttonsTop->addWidget(FTrend);
    auto *buttons = new QVBoxLayout;
    buttons->addLayout(buttonsTop);
    buttons->addLayout(buttonsBottom);
    auto *top = new QHBoxLayout;
    top->addLayout(filterColumn, 1);
    top->addLayout(buttons);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(FGrid, 1);
    layout->addWidget(FDebugEdit);
    resize(1200, 600);

    connect(FViewMode, &QButtonGroup::idClicked, this,
            [this](int mode) { FFields->Day()->setEnabled(mode == kViewDay); });
    connect(FSearch, &QPushButton::clicked, this, &TFrmDataLog::LoadRecords);
    connect(FRefresh, &QPushButton::clicked, this, &TFrmDataLog::LoadRecords);
    connect(FLogSetting, &QPushButton::clicked, this, &TFrmDataLog::OpenLogSettings);
    connect(FExport, &QPushButton::clicked, this, &TFrmDataLog::ExportClick);
    connect(FClearMonth, &QPushButton::clicked, this, &TFrmDataLog::OpenMonthDeletion);
    connect(FTrend, &QPushButton::clicked, this, &TFrmDataLog::OpenTrend);
    connect(FGrid, &LogGridView::Sorted, this, [this] {
        FDebugEdit->setVisible(FDebugShow != 0);
        FDebugEdit->setText(FSort.DebugText());
        ReportModelError();
    });
}

void TFrmDataLog::ApplyLanguage()
{
    const bool zh = IsChineseLanguage(FSettings.Language);
    setWindowTitle(LanguageText(zh, "数据日志", "Data Log"));
    FViewModeBox->setTitle(LanguageText(zh, "查询方式", "Search Type"));
    FViewMode->button(kViewMonth)->setText(LanguageText(zh, "按月", "Month"));
    FViewMode->button(kViewDay)->setText(LanguageText(zh, "按日", "Date"));
    FFields->ApplyLanguage(zh);
    FitColumns();
    FSearch->setText(LanguageText(zh, "查询", "Search"));
    FRefresh->setText(LanguageText(zh, "刷新", "Refresh"));
    FLogSetting->setText(LanguageText(zh, "日志设定", "Log Setting"));
    FExport->setText(LanguageText(zh, "汇出", "Export"));
    FClearMonth->setText(LanguageText(zh, "清除月记录", "Clear Month Record"));
    FTrend->setText(LanguageText(zh, "趋势图", "Trend"));
}

void TFrmDataLog::FitColumns()
{
    // 130 and 60 pixels at the least, wider where the font needs it, so that
    // neither a time stamp nor a column title is cut.
    const QFontMetrics cells = FGrid->fontMetrics();
    const QFontMetrics titles = FGrid->horizontalHeader()->fontMetrics();
    constexpr int kPadding = 16;
    for (int column = 0; column < TDataLogModel::kColumnCount; ++column) {
        int width = std::max(column == 0 ? 130 : 60, titles.horizontalAdvance(FModel.GridHeaderText(column)) + kPadding);
        if (column == 0)
            width = std::max(width, cells.horizontalAdvance(QStringLiteral("0000-00-00 00:00:00")) + kPadding);
        FGrid->setColumnWidth(column, width);
    }
}

void TFrmDataLog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    ApplyLanguage();
    FFields->SetDate(TodayFields(FClock()));
    LoadRecords();
}

TRecFilter TFrmDataLog::GetFilter() const
{
    TRecFilter filter;
    filter.Year = static_cast<quint16>(FFields->Year()->value());
    filter.Month = static_cast<quint16>(FFields->Month()->value());
    filter.Day = FViewMode->checkedId() == kViewDay ? static_cast<quint16>(FFields->Day()->value()) : 0;
    filter.Addr = FFields->AddrFilter();
    filter.FileName = TRecFilter::MonthFilePath(FRecordDir, filter.Year, filter.Month);
    return filter;
}

void TFrmDataLog::ClearGrid()
{
    FModel.ClearGrid();
    FGrid->ShowUnsorted();
}

void TFrmDataLog::LoadRecords()
{
    ClearGrid();
    const TRecFilter filter = GetFilter();
    // A month of a busy site takes a while to read: show how far it has got.
    QProgressDialog progress(windowTitle(), QString(), 0, 1000, this);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(kProgressAfterMs);
    progress.setAutoReset(false);
    FModel.Load(filter, [&progress](qint64 done, qint64 total) {
        if (total > 0)
            progress.setValue(static_cast<int>(done * 1000 / total));
    });
    FGrid->ShowUnsorted();
    progress.reset();
    ReportModelError();
}

void TFrmDataLog::ReportModelError()
{
    if (!FModel.LastError().isEmpty())
        Prompts.ShowError(this, FModel.LastError());
}

void TFrmDataLog::ExportClick()
{
    try {
        ExportGridCsv(this, FModel, FGrid->ShownColumns(), FSettings.Language, Prompts, FProgress);
    } catch (const std::exception &error) {
        Prompts.ShowError(this, QString::fromUtf8(error.what()));
    }
}

void TFrmDataLog::OpenLogSettings()
{
    TFrmDataLogSet window(FSettings, this);
    RunModal(window);
}

void TFrmDataLog::OpenMonthDeletion()
{
    TFrmDelDataRec window(FRecordDir, FSettings.Language, [this] { LoadRecords(); }, this);
    window.Prompts = Prompts;
    RunModal(window);
}

void TFrmDataLog::OpenTrend()
{
    // The device and day of the row the user picked; without one, those of
    // the filter fields.
    std::uint8_t addr = static_cast<std::uint8_t>(FFields->Addr()->value());
    const TRecFilter filter = GetFilter();
    TDateTime at = EncodeDateTime(QDate(filter.Year, filter.Month, std::max<int>(filter.Day, 1)), QTime(0, 0));
    const QModelIndex current = FGrid->currentIndex();
    if (current.isValid() && current.row() < FModel.RowNo()) {
        const TDataRec rec = FModel.RecordShownAt(current.row());
        addr = rec.Addr;
        at = rec.Time;
    }
    TFrmTrend window(FRecordDir, FSettings.Language, addr, at, FProgress, this);
    window.Prompts = Prompts;
    RunModal(window);
}
