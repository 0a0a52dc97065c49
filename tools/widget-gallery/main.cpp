// widget-gallery: draws our widgets in their typical states into PNG files,
// so their look can be checked without starting the monitor.
//
//   widget-gallery [output-directory]     (default: ./widget-gallery)
//
// Each sheet is written twice: at 1x and at 2x pixel density.

#include "gui/widgets/AngularGauge.h"
#include "gui/widgets/FlowPipe.h"
#include "gui/widgets/LedBar.h"
#include "gui/widgets/LedIndicator.h"
#include "gui/widgets/ModeDiagram.h"
#include "gui/widgets/VoltageChart.h"
#include "gui/widgets/WidgetPalette.h"
#include "model/BatteryFlow.h"
#include "model/GaugeScale.h"
#include "model/UpsMode.h"

#include <QApplication>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QPixmap>
#include <QTime>
#include <cmath>
#include <cstdio>

namespace {

QLabel *Caption(const QString &text)
{
    auto *label = new QLabel(text);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

void Save(QWidget &sheet, const QDir &dir, const QString &name)
{
    sheet.adjustSize();
    sheet.ensurePolished();
    sheet.show();
    QApplication::processEvents();

    const QString plain = dir.filePath(name + QStringLiteral(".png"));
    sheet.grab().save(plain);

    QPixmap dense(sheet.size() * 2);
    dense.setDevicePixelRatio(2.0);
    dense.fill(sheet.palette().window().color());
    sheet.render(&dense);
    const QString doubled = dir.filePath(name + QStringLiteral("@2x.png"));
    dense.save(doubled);
    std::printf("%s\n%s\n", qPrintable(plain), qPrintable(doubled));
    sheet.hide();
}

void GaugeSheet(const QDir &dir)
{
    QWidget sheet;
    auto *grid = new QGridLayout(&sheet);
    const struct {
        bool input;
        double value;
        int side;
    } gauges[] = {{true, 0.0, 160},   {true, 110.0, 160}, {true, 219.96, 160}, {true, 290.0, 160},
                  {true, 350.0, 160}, {false, 230.0, 120}, {false, 250.0, 240}, {false, 12345.6, 160}};
    int column = 0;
    for (const auto &g : gauges) {
        auto *gauge = new AngularGauge;
        gauge->setScale(g.input ? InputVoltageScale() : OutputVoltageScale());
        gauge->setUnit(QStringLiteral("V"));
        gauge->setValue(g.value);
        gauge->setFixedSize(g.side, g.side);
        const int row = (column / 4) * 2;
        grid->addWidget(gauge, row, column % 4, Qt::AlignCenter);
        grid->addWidget(Caption(QStringLiteral("%1 %2 V").arg(g.input ? "输入" : "输出").arg(g.value)),
                        row + 1, column % 4);
        ++column;
    }
    Save(sheet, dir, QStringLiteral("gauges"));
}

void LedBarSheet(const QDir &dir)
{
    QWidget sheet;
    auto *grid = new QGridLayout(&sheet);
    const double values[] = {0.0, 46.0, 100.0, 101.0, 135.0, 150.0, 180.0};
    int column = 0;
    for (double value : values) {
        auto *bar = new LedBar;
        bar->setValue(value);
        bar->setFixedHeight(column == 6 ? 90 : 170);
        grid->addWidget(bar, 0, column, Qt::AlignCenter);
        grid->addWidget(Caption(QStringLiteral("%1 %").arg(value)), 1, column);
        ++column;
    }
    auto *bare = new LedBar;
    bare->setScaleMarksVisible(false);
    bare->setValue(75.0);
    grid->addWidget(bare, 0, column, Qt::AlignCenter);
    grid->addWidget(Caption(QStringLiteral("A相 75")), 1, column);
    Save(sheet, dir, QStringLiteral("ledbars"));
}

void LedSheet(const QDir &dir)
{
    QWidget sheet;
    auto *grid = new QGridLayout(&sheet);
    const QColor colours[] = {WidgetPalette::LampGreen(), WidgetPalette::LampYellow(), WidgetPalette::LampRed()};
    const int sides[] = {12, 16, 32};
    int column = 0;
    for (const QColor &colour : colours) {
        for (bool on : {true, false}) {
            for (int row = 0; row < 3; ++row) {
                auto *led = new LedIndicator;
                led->setColour(colour);
                led->setOn(on);
                led->setFixedSize(sides[row], sides[row]);
                grid->addWidget(led, row, column, Qt::AlignCenter);
            }
            grid->addWidget(Caption(on ? QStringLiteral("on") : QStringLiteral("off")), 3, column);
            ++column;
        }
    }
    Save(sheet, dir, QStringLiteral("leds"));
}

void PipeSheet(const QDir &dir)
{
    QWidget sheet;
    auto *grid = new QGridLayout(&sheet);
    const struct {
        const char *title;
        BatteryFlow flow;
        int steps;
    } pipes[] = {
        {"charging 150 A, step 0", {true, true, FlowDirection::Forward, 20}, 0},
        {"charging, step 3", {true, true, FlowDirection::Forward, 20}, 3},
        {"discharging, step 3 back", {true, true, FlowDirection::Reverse, 280}, 3},
        {"no current", {true, false, FlowDirection::Forward, 500}, 0},
    };
    int row = 0;
    for (const auto &p : pipes) {
        auto *pipe = new FlowPipe;
        pipe->apply(p.flow);
        for (int i = 0; i < p.steps; ++i)
            pipe->advance();
        pipe->setFixedSize(220, 16);
        grid->addWidget(Caption(QString::fromLatin1(p.title)), row, 0);
        grid->addWidget(pipe, row, 1);
        ++row;
    }
    auto *vertical = new FlowPipe;
    vertical->setOrientation(Qt::Vertical);
    vertical->apply({true, true, FlowDirection::Forward, 100});
    vertical->setFixedSize(20, 120);
    grid->addWidget(vertical, 0, 2, row, 1);
    Save(sheet, dir, QStringLiteral("pipes"));
}

void ModeSheet(const QDir &dir)
{
    QWidget sheet;
    sheet.setAutoFillBackground(true);
    QPalette white = sheet.palette();
    white.setColor(QPalette::Window, Qt::white);
    sheet.setPalette(white);
    auto *grid = new QGridLayout(&sheet);
    const struct {
        UpsMode mode;
        const char *title;
    } modes[] = {{UpsMode::Standby, "Standby"}, {UpsMode::Online, "Online"},   {UpsMode::Bypass, "Bypass"},
                 {UpsMode::Battery, "Battery"}, {UpsMode::Test, "Test"},       {UpsMode::Economy, "Economy"},
                 {UpsMode::Fault, "Fault"},     {UpsMode::None, "None"}};
    int index = 0;
    for (const auto &m : modes) {
        auto *diagram = new ModeDiagram;
        diagram->setMode(m.mode);
        diagram->setFixedSize(diagram->sizeHint());
        grid->addWidget(diagram, (index / 2) * 2, index % 2);
        grid->addWidget(Caption(QString::fromLatin1(m.title)), (index / 2) * 2 + 1, index % 2);
        ++index;
    }
    Save(sheet, dir, QStringLiteral("modes"));

    QWidget small;
    auto *row = new QHBoxLayout(&small);
    for (int width : {150, 300}) {
        auto *diagram = new ModeDiagram;
        diagram->setMode(UpsMode::Online);
        diagram->setFixedSize(width, diagram->heightForWidth(width));
        row->addWidget(diagram);
    }
    Save(small, dir, QStringLiteral("modes-small"));
}

void ChartSheet(const QDir &dir)
{
    QWidget sheet;
    auto *row = new QHBoxLayout(&sheet);
    for (bool singlePhase : {false, true}) {
        auto *chart = new VoltageChart;
        chart->setTitle(singlePhase ? QStringLiteral("输出电压(V)") : QStringLiteral("Input Voltage(V)"));
        chart->setSinglePhase(singlePhase);
        QTime time(10, 0, 0);
        for (int i = 0; i < 80; ++i) {
            const double swing = 12.0 * std::sin(i / 9.0);
            chart->appendSample(220.0 + swing, 228.0 - swing / 2, 236.0 + swing / 3,
                                time.addSecs(4 * i).toString(QStringLiteral("hh:mm:ss")));
        }
        chart->setFixedSize(420, 260);
        row->addWidget(chart);
    }
    Save(sheet, dir, QStringLiteral("charts"));
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("WenQuanYi Micro Hei"), 9));

    const QString outDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("widget-gallery");
    QDir dir;
    if (!dir.mkpath(outDir)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(outDir));
        return 1;
    }
    dir.setPath(outDir);

    GaugeSheet(dir);
    LedBarSheet(dir);
    LedSheet(dir);
    PipeSheet(dir);
    ModeSheet(dir);
    ChartSheet(dir);
    return 0;
}
