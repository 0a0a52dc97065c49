#include "gui/log/TFrmTrend.h"

#include "gui/log/TfrmProgress.h"
#include "gui/widgets/CaptionApplier.h"
#include "gui/widgets/TrendPlot.h"
#include "log/ELogFileError.h"
#include "log/TDataLogModel.h"
#include "log/TTrendGrid.h"
#include "log/TrendTexts.h"
#include "model/TextLanguage.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDateEdit>
#include <QDateTimeEdit>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include <numeric>

namespace {

// A load shorter than this shows no progress window at all.
constexpr int kProgressAfterMs = 300;
// A zoom or pan reads again once the mouse has rested this long.
constexpr int kReloadAfterMs = 250;
// What is read around the view, so that a short pan needs no new read.
constexpr double kMarginOfView = 0.1;

const bool kShownAtFirst[kTrendValueCount] = {true, true, true, true, true, true, true, true, true,
                                              false, false, false, false};

template <typename W>
W *Named(W *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

TFrmTrend::TFrmTrend(const QString &recordDir, quint8 language, std::uint8_t addr, TDateTime at,
                     TfrmProgress *progress, QWidget *parent)
    : QDialog(parent), FRecordDir(recordDir), FLanguage(language), FProgress(progress), FQuery(recordDir)
{
    setObjectName(QStringLiteral("FrmTrend"));
    AskPngFileName = [](QWidget *owner) {
        return QFileDialog::getSaveFileName(owner, QString(), QString(), QStringLiteral(".png (*.png)"));
    };
    BuildLayout();
    const TDateTimeParts parts = DecodeDateTime(at);
    FDate->setDate(parts.Date.isValid() ? parts.Date : QDate::currentDate());
    FFrom->setDateTime(QDateTime(FDate->date().addDays(-1), QTime(0, 0)));
    FTo->setDateTime(QDateTime(FDate->date().addDays(1), QTime(0, 0)));
    FAddr->setValue(addr);
    FSeries.Addr = addr;
    UpdateFieldStates();
}

void TFrmTrend::BuildLayout()
{
    FPlot = Named(new TrendPlot(this), "plotTrend");
    std::vector<TrendPlot::Pane> panes;
    for (const TTrendPaneTexts &pane : TrendPanes(FLanguage))
        panes.push_back({pane.Title, pane.Values});
    FPlot->setPanes(std::move(panes));
    FPlot->setNoDataText(TrendNoDataText(FLanguage));
    for (int value = 0; value < kTrendValueCount; ++value) {
        FPlot->setSeriesName(value, TDataLogModel::HeaderText(TrendValueColumn(value), FLanguage));
        FPlot->setSeriesVisible(value, kShownAtFirst[value]);
    }
    FStatus = Named(new QLabel(this), "lblStatus");
    FReloadTimer = Named(new QTimer(this), "tmrReload");
    FReloadTimer->setSingleShot(true);
    FReloadTimer->setInterval(kReloadAfterMs);

    auto *side = new QVBoxLayout;
    side->addWidget(BuildPeriodBox());
    side->addWidget(BuildSeriesBox(), 1);
    auto *main = new QHBoxLayout;
    main->addLayout(side);
    main->addWidget(FPlot, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(main, 1);
    layout->addWidget(FStatus);
    resize(1180, 700);

    connect(FPeriod, &QButtonGroup::idClicked, this, [this] { UpdateFieldStates(); });
    connect(FShow, &QPushButton::clicked, this, &TFrmTrend::ShowClick);
    connect(FResetZoom, &QPushButton::clicked, this, &TFrmTrend::ResetZoom);
    connect(FSavePng, &QPushButton::clicked, this, &TFrmTrend::SavePngClick);
    connect(FExport, &QPushButton::clicked, this, &TFrmTrend::ExportClick);
    connect(FPlot, &TrendPlot::viewRangeChanged, this, [this] { FReloadTimer->start(); });
    connect(FPlot, &TrendPlot::resetRequested, this, &TFrmTrend::ResetZoom);
    connect(FReloadTimer, &QTimer::timeout, this, &TFrmTrend::ReloadForView);
}

QWidget *TFrmTrend::BuildPeriodBox()
{
    auto *box = Named(new QGroupBox(this), "rdPeriod");
    FPeriod = new QButtonGroup(this);
    const char *const names[] = {"rdPeriodDay", "rdPeriodWeek", "rdPeriodMonth", "rdPeriodRange"};
    auto *grid = new QGridLayout(box);
    for (int period = kPeriodDay; period <= kPeriodRange; ++period) {
        auto *item = Named(new QRadioButton(box), names[period]);
        FPeriod->addButton(item, period);
        grid->addWidget(item, period / 2, period % 2);
    }
    FPeriod->button(kPeriodDay)->setChecked(true);

    FDate = Named(new QDateEdit(box), "dtpDate");
    FDate->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    FDate->setCalendarPopup(true);
    FFrom = Named(new QDateTimeEdit(box), "dtpFrom");
    FTo = Named(new QDateTimeEdit(box), "dtpTo");
    for (QDateTimeEdit *edit : {FFrom, FTo}) {
        edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm"));
        edit->setCalendarPopup(true);
    }
    FAddr = Named(new QSpinBox(box), "SpinAddr");
    FAddr->setRange(1, 254);
    FShow = Named(new QPushButton(box), "btnShow");
    FResetZoom = Named(new QPushButton(box), "btnResetZoom");
    FSavePng = Named(new QPushButton(box), "btnSavePng");
    FExport = Named(new QPushButton(box), "btnExport");

    int row = 2;
    auto addRow = [&](const char *labelName, QWidget *field) {
        grid->addWidget(Named(new QLabel(box), labelName), row, 0);
        grid->addWidget(field, row++, 1);
    };
    addRow("lblAddr", FAddr);
    addRow("lblDate", FDate);
    addRow("lblFrom", FFrom);
    addRow("lblTo", FTo);
    grid->addWidget(FShow, row, 0);
    grid->addWidget(FResetZoom, row++, 1);
    grid->addWidget(FSavePng, row, 0);
    grid->addWidget(FExport, row, 1);
    return box;
}

QWidget *TFrmTrend::BuildSeriesBox()
{
    auto *box = Named(new QGroupBox(this), "grpSeries");
    auto *column = new QVBoxLayout(box);
    for (int value = 0; value < kTrendValueCount; ++value) {
        auto *check = Named(new QCheckBox(box), TrendValueControlName(value));
        check->setChecked(kShownAtFirst[value]);
        QPalette palette = check->palette();
        palette.setColor(QPalette::WindowText, TrendPlot::seriesColor(value));
        check->setPalette(palette);
        connect(check, &QCheckBox::toggled, this, [this, value](bool on) { FPlot->setSeriesVisible(value, on); });
        FValueBoxes[static_cast<std::size_t>(value)] = check;
        column->addWidget(check);
    }
    column->addStretch(1);
    return box;
}

void TFrmTrend::ApplyLanguage()
{
    ApplyCaptions(this, TrendWindowCaptions(FLanguage));
}

void TFrmTrend::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    ApplyLanguage();
    ShowClick();
}

void TFrmTrend::UpdateFieldStates()
{
    const bool range = FPeriod->checkedId() == kPeriodRange;
    FDate->setEnabled(!range);
    FFrom->setEnabled(range);
    FTo->setEnabled(range);
}

void TFrmTrend::SetPeriod(TPeriod period)
{
    FPeriod->button(period)->setChecked(true);
    UpdateFieldStates();
}

std::pair<TDateTime, TDateTime> TFrmTrend::Period() const
{
    const QDate date = FDate->date();
    auto day = [](const QDate &d) { return EncodeDateTime(d, QTime(0, 0)); };
    switch (FPeriod->checkedId()) {
    case kPeriodWeek:
        return {day(date.addDays(-6)), day(date.addDays(1))}; // the seven days up to the date's end
    case kPeriodMonth: {
        const QDate first(date.year(), date.month(), 1);
        return {day(first), day(first.addMonths(1))};
    }
    case kPeriodRange: {
        const QDateTime from = FFrom->dateTime();
        const QDateTime to = FTo->dateTime();
        const TDateTime a = EncodeDateTime(from.date(), from.time());
        const TDateTime b = EncodeDateTime(to.date(), to.time());
        return {std::min(a, b), std::max(a, b)};
    }
    default:
        return {day(date), day(date.addDays(1))};
    }
}

void TFrmTrend::ShowClick()
{
    FShownPeriod = Period();
    if (!(FShownPeriod.second > FShownPeriod.first))
        FShownPeriod.second = FShownPeriod.first + 1.0 / 24;
    FSeries.Addr = static_cast<std::uint8_t>(FAddr->value());
    FPlot->resetValueRanges();
    FPlot->setViewRange(FShownPeriod.first, FShownPeriod.second);
    Load(FShownPeriod.first, FShownPeriod.second, TTrendQuery::ResolutionFor(FShownPeriod.first, FShownPeriod.second));
}

void TFrmTrend::ResetZoom()
{
    FReloadTimer->stop();
    FPlot->resetValueRanges();
    FPlot->setViewRange(FShownPeriod.first, FShownPeriod.second);
    ReloadForView();
}

void TFrmTrend::ReloadForView()
{
    FReloadTimer->stop();
    const TDateTime from = FPlot->viewFrom();
    const TDateTime to = FPlot->viewTo();
    const TTrendResolution wanted = TTrendQuery::ResolutionFor(from, to);
    if (wanted == FSeries.Resolution && from >= FSeries.From && to <= FSeries.To) {
        UpdateStatus();
        return;
    }
    const double margin = (to - from) * kMarginOfView;
    Load(from - margin, to + margin, wanted);
}

void TFrmTrend::Load(TDateTime from, TDateTime to, TTrendResolution resolution)
{
    QElapsedTimer timer;
    timer.start();
    QProgressDialog progress(windowTitle(), LanguageText(IsChineseLanguage(FLanguage), "取消", "Cancel"), 0, 1000, this);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(kProgressAfterMs);
    progress.setAutoReset(false);
    std::optional<TTrendSeries> series;
    try {
        series = FQuery.Load(FSeries.Addr, from, to, resolution,
                             [&](TTrendQuery::TStep step, const QString &month, qint64 done, qint64 total) {
                                 progress.setLabelText(TrendStepText(step, month, FLanguage));
                                 if (total > 0)
                                     progress.setValue(static_cast<int>(done * 1000 / total));
                                 return !progress.wasCanceled();
                             });
    } catch (const ELogFileError &error) {
        progress.reset();
        Prompts.ShowError(this, QString::fromUtf8(error.what()));
        return;
    }
    progress.reset();
    if (!series)
        return; // stopped: what was shown stays
    FSeries = std::move(*series);
    FPlot->setSeries(&FSeries);
    FPlot->repaint();
    FLastLoadMs = timer.nsecsElapsed() / 1e6;
    UpdateStatus();
}

void TFrmTrend::UpdateStatus()
{
    FStatus->setText(QStringLiteral("%1 · %2 · %3 — %4 · %5")
                         .arg(TrendResolutionText(FSeries.Resolution, FLanguage),
                              TrendPointsText(static_cast<qsizetype>(FSeries.Points.size()), FLanguage),
                              FormatTrendTime(FPlot->viewFrom()), FormatTrendTime(FPlot->viewTo()),
                              TrendDrawnText(FLastLoadMs, FLanguage)));
}

void TFrmTrend::SavePngClick()
{
    const QString path = AskPngFileName(this);
    if (path.isEmpty())
        return;
    if (!FPlot->grab().save(path, "PNG"))
        Prompts.ShowError(this, TrendSaveFailedText(path, FLanguage));
}

void TFrmTrend::ExportClick()
{
    ReloadForView(); // a zoom just made may not have been read yet
    const TTrendGrid grid(FSeries, FPlot->viewFrom(), FPlot->viewTo(), FLanguage);
    std::vector<int> columns(static_cast<std::size_t>(grid.GridColumnCount()));
    std::iota(columns.begin(), columns.end(), 0);
    try {
        ExportGridCsv(this, grid, columns, FLanguage, Prompts, FProgress);
    } catch (const std::exception &error) {
        Prompts.ShowError(this, QString::fromUtf8(error.what()));
    }
}
