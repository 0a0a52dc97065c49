#include "log/TrendTexts.h"

#include "log/TDataLogModel.h"
#include "model/TextLanguage.h"

namespace {

const char *const kValueControlNames[kTrendValueCount] = {
    "ckbInVA", "ckbInVB", "ckbInVC", "ckbOutVA", "ckbOutVB", "ckbOutVC", "ckbLoadA",
    "ckbLoadB", "ckbLoadC", "ckbOutFreq", "ckbDcVolt", "ckbBattCapa", "ckbBattTime",
};

} // namespace

const char *TrendValueControlName(int value)
{
    return value >= 0 && value < kTrendValueCount ? kValueControlNames[value] : "";
}

std::vector<TCaptionRow> TrendWindowCaptions(quint8 language)
{
    const bool zh = IsChineseLanguage(language);
    constexpr auto C = TCaptionRole::Caption;
    constexpr auto H = TCaptionRole::Hint;
    std::vector<TCaptionRow> rows = {
        {"FrmTrend", C, LanguageText(zh, "历史趋势", "Trend")},
        {"rdPeriod", C, LanguageText(zh, "时间范围", "Period")},
        {"rdPeriodDay", C, LanguageText(zh, "按日", "Day")},
        {"rdPeriodWeek", C, LanguageText(zh, "按周", "Week")},
        {"rdPeriodMonth", C, LanguageText(zh, "按月", "Month")},
        {"rdPeriodRange", C, LanguageText(zh, "自定义", "From - To")},
        {"lblDate", C, LanguageText(zh, "日期:", "Date:")},
        {"lblFrom", C, LanguageText(zh, "从:", "From:")},
        {"lblTo", C, LanguageText(zh, "到:", "To:")},
        {"lblAddr", C, LanguageText(zh, "设备地址:", "Address:")},
        {"btnShow", C, LanguageText(zh, "显示", "Show")},
        {"btnResetZoom", C, LanguageText(zh, "复位", "Reset Zoom")},
        {"btnSavePng", C, LanguageText(zh, "保存图片", "Save PNG")},
        {"btnExport", C, LanguageText(zh, "汇出", "Export")},
        {"grpSeries", C, LanguageText(zh, "曲线", "Series")},
        {"plotTrend", H,
         LanguageText(zh, "滚轮缩放, 左键拖出矩形放大, 右键拖动平移, 双击复位",
                      "Wheel to zoom, drag a rectangle to zoom in, drag with the right button to pan, "
                      "double-click to reset")},
    };
    for (int value = 0; value < kTrendValueCount; ++value)
        rows.push_back({kValueControlNames[value], C, TDataLogModel::HeaderText(TrendValueColumn(value), language)});
    return rows;
}

std::vector<TTrendPaneTexts> TrendPanes(quint8 language)
{
    const bool zh = IsChineseLanguage(language);
    return {
        {LanguageText(zh, "电压(V)", "Voltage (V)"),
         {kTrendInputVoltA, kTrendInputVoltB, kTrendInputVoltC, kTrendOutputVoltA, kTrendOutputVoltB, kTrendOutputVoltC,
          kTrendDcVolt}},
        {LanguageText(zh, "负载率/电池容量(%)", "Load / Capacity (%)"),
         {kTrendLoadA, kTrendLoadB, kTrendLoadC, kTrendBattCapacity}},
        {LanguageText(zh, "输出频率(Hz)", "Frequency (Hz)"), {kTrendOutputFreq}},
        {LanguageText(zh, "电池后备时间(分)", "Support Time (min)"), {kTrendBattBackupTime}},
    };
}

QString TrendNoDataText(quint8 language)
{
    return LanguageText(IsChineseLanguage(language), "该时间范围内没有记录", "No records in this period");
}

QString TrendResolutionText(TTrendResolution resolution, quint8 language)
{
    const bool zh = IsChineseLanguage(language);
    return resolution == TTrendResolution::Samples ? LanguageText(zh, "每个样本", "Every sample")
                                                   : LanguageText(zh, "每小时汇总", "Hourly summary");
}

QString TrendPointsText(qsizetype points, quint8 language)
{
    return IsChineseLanguage(language) ? QStringLiteral("%1 个点").arg(points) : QStringLiteral("%1 points").arg(points);
}

QString TrendDrawnText(double milliseconds, quint8 language)
{
    const QString ms = QString::number(milliseconds, 'f', 0);
    return IsChineseLanguage(language) ? QStringLiteral("读取和绘图 %1 ms").arg(ms)
                                       : QStringLiteral("read and drawn in %1 ms").arg(ms);
}

QString TrendStepText(TTrendQuery::TStep step, const QString &monthFile, quint8 language)
{
    const bool zh = IsChineseLanguage(language);
    if (step == TTrendQuery::TStep::Summarising)
        return zh ? QStringLiteral("正在建立 %1 的汇总......").arg(monthFile) : QStringLiteral("Summarising %1......").arg(monthFile);
    return zh ? QStringLiteral("正在读取 %1......").arg(monthFile) : QStringLiteral("Reading %1......").arg(monthFile);
}

QString TrendSaveFailedText(const QString &path, quint8 language)
{
    return IsChineseLanguage(language) ? QStringLiteral("无法保存 \"%1\"。").arg(path)
                                       : QStringLiteral("Cannot save \"%1\".").arg(path);
}
