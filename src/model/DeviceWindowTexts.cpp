#include "model/DeviceWindowTexts.h"

#include "model/TextLanguage.h"

namespace {

constexpr auto C = TCaptionRole::Caption;
constexpr auto H = TCaptionRole::Hint;

// Rows both edit windows have.
void AddCommonEditCaptions(std::vector<TCaptionRow> &rows, bool zh)
{
    rows.push_back({"lblEquipName", C, LanguageText(zh, "设备名:", "Equipment Name:")});
    rows.push_back({"lblEquipAddr", C, LanguageText(zh, "设备地址:", "Equipment Address:")});
    rows.push_back({"btnCancel", C, LanguageText(zh, "取消", "Cancel")});
}

} // namespace

TEquipSearchTexts EquipSearchTexts(quint8 language)
{
    const bool zh = IsChineseLanguage(language);
    return TEquipSearchTexts{
        LanguageText(zh, "搜索", "Search"),
        LanguageText(zh, "停止", "Stop"),
        LanguageText(zh, "搜索完毕!", "Search Completed !"),
        LanguageText(zh, "地址", "Addr"),
        LanguageText(zh, "设备名", "Name"),
        LanguageText(zh, "请先停止搜索再关闭窗口!", "Please stop search before close this forms !"),
        LanguageText(zh, "系统已有该地址!", "This address is already exists !"),
        LanguageText(zh, "该地址你已添加到列表,无需再添加!",
                     "You had appended this address to the list,not to append again"),
        LanguageText(zh, "请填写设备名后再添加",
                     "Please set Equipment name for every Equipment in the list before append !"),
        LanguageText(zh, "列表中没有可以添加的设备!", "There are no equipment that can be appended"),
    };
}

std::vector<TCaptionRow> EquipSearchCaptions(quint8 language)
{
    const bool zh = IsChineseLanguage(language);
    return {
        {"TFrmEquipSearch", C, LanguageText(zh, "设备搜索", "Search Equipment")},
        {"grpSearch", C, LanguageText(zh, "搜索网络上的设备", "Search Equipment on network")},
        {"grpRange", C, LanguageText(zh, "搜索地址范围", "Range of Searched Address ")},
        {"lblFrom", C, LanguageText(zh, "从", "From")},
        {"lblTo", C, LanguageText(zh, "到", "To")},
        {"grpSearched", C, LanguageText(zh, "已搜索到", "Searched:")},
        {"lblNameEdit", C, LanguageText(zh, "编辑新设备名称", "Name Edit")},
        {"grpExist", C, LanguageText(zh, "已有地址", "Existed")},
        {"btnClear", C, LanguageText(zh, "清除", "Clear")},
        {"btnAppend", C, LanguageText(zh, "添加", "Append")},
        {"btnSelOne", C, QStringLiteral(">")},
        {"btnSelAll", C, QStringLiteral(">>")},
        {"btnSelOne", H, QString::fromUtf8("只选择被选中项")},
        {"btnSelAll", H, QString::fromUtf8("全部选择")},
    };
}

TEquipEditTexts NewEquipTexts(quint8 language)
{
    const bool zh = IsChineseLanguage(language);
    return TEquipEditTexts{
        LanguageText(zh, "设备名不能为空", "Equipment Name is empty !"),
        LanguageText(zh, "设备地址不能为空", "Equipment Address is empty !"),
        LanguageText(zh, "设备名过长", "Equipment name is too long !"),
    };
}

TEquipEditTexts PropertyTexts(quint8 language)
{
    const bool zh = IsChineseLanguage(language);
    return TEquipEditTexts{
        LanguageText(zh, "设备名不能为空", "Equipment name is empty !"),
        QString(),
        LanguageText(zh, "设备名过长", "Equipment name is too long !"),
    };
}

std::vector<TCaptionRow> NewEquipCaptions(quint8 language)
{
    const bool zh = IsChineseLanguage(language);
    std::vector<TCaptionRow> rows{
        {"TFrmNewEquip", C, LanguageText(zh, "添加要监控的设备", "Append Equipment")},
        {"btnNew", C, LanguageText(zh, "添加", "Append")},
    };
    AddCommonEditCaptions(rows, zh);
    return rows;
}

std::vector<TCaptionRow> PropertyCaptions(quint8 language)
{
    const bool zh = IsChineseLanguage(language);
    std::vector<TCaptionRow> rows{
        {"TFrmProperty", C, LanguageText(zh, "设备属性", "Equipment Property")},
        {"btnOK", C, LanguageText(zh, "确定", "OK")},
    };
    AddCommonEditCaptions(rows, zh);
    return rows;
}
