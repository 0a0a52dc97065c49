#pragma once

#include "model/UpsMode.h"

#include <QWidget>

#include <array>

class AngularGauge;
class FlowPipe;
class LedBar;
class ModeDiagram;
class QGridLayout;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class ValuePanel;
class VoltageChart;
struct TUpsInfo;

// The right-hand part of the main window: the selected device's values on
// gauges and LED bars, its supply states and alarms, the sketch map with
// the mode picture and the battery flow, and the two voltage graphs. Every
// refresh redraws it from one status record; it keeps no state of its own
// beyond its controls and the graph series.
class TFrmRealTimeView : public QWidget
{
    Q_OBJECT

public:
    explicit TFrmRealTimeView(QWidget *parent = nullptr);

    void ApplyLanguage(quint8 language);

    // Redraws everything from the record of the selected device.
    void RefreshView(const TUpsInfo &rec, quint8 protocol, quint8 language);

    void SetProtocolLayout(quint8 protocol);
    void SetSinglePhaseLayout(quint8 language);
    void HideUnusedRows();

    // The outer pages, chosen by the device tree.
    void ShowGraphPage(bool graph);
    bool GraphPageShown() const;
    // The real-time page and, inside it, the data page.
    void ShowFirstPages();

    // The mode picture showing, None when no picture is visible.
    UpsMode VisibleMode() const;

    VoltageChart *Chart(int chart) const { return chart == 1 ? FChart1 : FChart2; }

signals:
    // The graph page's trend button: the selected device's past is wanted.
    void trendRequested();

private:
    QWidget *BuildRealTimePage();
    QWidget *BuildDataPage();
    QWidget *BuildSketchMapPage();
    QWidget *BuildGraphPage();
    QWidget *BuildLowerPart();
    QWidget *BuildGaugeCell(const QString &labelName, AngularGauge *gauge, const QString &valueName);
    QWidget *BuildLoadPanel();
    void ShowMode(UpsMode mode);

    QTabWidget *FOuterPages = nullptr;
    QTabWidget *FInnerPages = nullptr;
    QWidget *FRealTimePage = nullptr;
    QWidget *FGraphPage = nullptr;
    QWidget *FDataPage = nullptr;
    QWidget *FSketchMapPage = nullptr;

    QGridLayout *FGaugeGrid = nullptr;
    std::array<QWidget *, 3> FOutputCells{};
    std::array<AngularGauge *, 3> FInputGauges{};
    std::array<AngularGauge *, 3> FOutputGauges{};
    std::array<LedBar *, 3> FLoadBars{};
    std::array<QLabel *, 3> FInputVolt{};
    std::array<QLabel *, 3> FOutputVolt{};
    std::array<QLabel *, 3> FLoadPercent{};
    QLabel *FOutputFreq = nullptr;
    QLabel *FDcVolt = nullptr;
    QLabel *FBattTime = nullptr;
    QLabel *FBattCapa = nullptr;
    ValuePanel *FBattCapaPanel = nullptr;
    ValuePanel *FBattTimePanel = nullptr;

    std::array<ModeDiagram *, 7> FModePictures{}; // Standby to Fault, in UpsMode order
    QLabel *FStateText = nullptr;
    FlowPipe *FPipe = nullptr;
    QGroupBox *FCodeGroup = nullptr;
    QLabel *FCmmState = nullptr;
    QLabel *FInvState = nullptr;
    QLabel *FCmmAlarm = nullptr;
    QLabel *FInvAlarm = nullptr;
    QLabel *FSysState = nullptr;
    QLabel *FSysAlarm = nullptr;
    QLabel *FUpsState = nullptr;

    QLabel *FInputSupply = nullptr;
    QLabel *FUpsSupply = nullptr;
    std::array<QWidget *, 8> FSwitchRows{}; // caption and value of the four switch rows
    QPlainTextEdit *FAlarms = nullptr;

    VoltageChart *FChart1 = nullptr;
    VoltageChart *FChart2 = nullptr;
    QPushButton *FTrendButton = nullptr;
};
