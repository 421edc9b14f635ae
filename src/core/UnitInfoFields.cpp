#include "core/UnitInfoFields.h"

#include <array>

namespace UnitInfoFields {

namespace {

using K = UnitInfoKind;
using L = UnitInfoList;

const std::array<const char*, kTabCount> kTabs = {
    "单位基本情况",
    "单位藏品及重要出土文物保存情况",
    "单位文物安全情况",
    "单位文物保护设施建设情况",
};

const std::array<UnitInfoBlock, 13> kBlocks = {{
    {0, nullptr, nullptr},
    {1, nullptr, nullptr},
    {1, "Frame1(0)", "一级品"},
    {1, "Frame1(1)", "二级品"},
    {1, "Frame1(2)", "三级品"},
    {1, "Frame1(3)", "重要出土文物"},
    {1, nullptr, nullptr},
    {2, "Frame2", "单位面积"},
    {2, "Frame6", "消防设施"},
    {2, nullptr, nullptr},
    {2, "Frame3(1)", "文物被盗情况"},
    {3, "Frame4", "库房情况"},
    {3, "Frame5", "大遗址保护设施建设情况"},
}};

#define HOLDING_CLASS(i, element, block)                                                                       \
    {"Text9(" #i ")", K::Number, "Reserve/ItemDetail/" element "/TotalNum", "0", "总数", block, 0, 1, L::None}, \
    {"Text10(" #i ")", K::Number, "Reserve/ItemDetail/" element "/DetailNum/GoodNum", "0", "完好", block, 1, 0,   \
     L::None},                                                                                                 \
    {"Text11(" #i ")", K::Number, "Reserve/ItemDetail/" element "/DetailNum/SlightDamagedNum", "0", "一般受损",   \
     block, 1, 1, L::None},                                                                                    \
    {"Text12(" #i ")", K::Number, "Reserve/ItemDetail/" element "/DetailNum/SevereDamagedNum", "0", "严重受损",   \
     block, 1, 2, L::None},                                                                                    \
    {"Text26(" #i ")", K::Number, "Reserve/ItemDetail/" element "/FundDemand", "0", "保护修复资金需求", block, 0,  \
     0, L::None}

// The binding order: header filler first, then the tabs from the first to the last.
const UnitInfoField kFields[] = {
    {"Text1", K::UnitCode, nullptr, "", "单位编码", 0, 0, 0, L::None},
    {"Text27", K::Text, "ReportInfo/ReportUser", "", "填报人", 0, 0, 1, L::None},
    {"Text19", K::Text, "Basic/AreaCode", "", "地区代码", 0, 4, 1, L::None},
    {"Text2", K::Text, "Basic/Name", "", "单位全称", 0, 1, 0, L::None},
    {"Text3", K::Text, "Basic/ShortName", "", "单位简称", 0, 2, 0, L::None},
    {"Text4", K::Text, "Basic/Address", "", "通讯地址", 0, 3, 0, L::None},
    {"Text5", K::Text, "Basic/PostCode", "", "邮政编码", 0, 4, 0, L::None},
    {"Text6", K::Text, "Basic/PhoneNo", "", "电话", 0, 5, 0, L::None},
    {"Text7", K::Text, "Basic/FaxNo", "", "传真", 0, 5, 1, L::None},
    {"Text8", K::Text, "Basic/Email", "", "电子邮件", 0, 6, 0, L::None},
    {"Combo1", K::Coded, "Basic/Type", "", "单位类型", 0, 7, 0, L::Type},
    {"Combo2", K::Coded, "Basic/Class", "", "单位性质", 0, 8, 0, L::Class},
    {"Combo5", K::Coded, "Basic/Risc", "", "单位风险等级", 0, 9, 0, L::Risk},
    // Depot area and relic total have no default: an empty box is stored empty.
    {"Text28", K::Number, "Reserve/DepotArea", "", "库房面积", 1, 0, 0, L::None},
    {"Text29", K::Number, "Reserve/TotalItemNum", "", "文物总数", 1, 0, 1, L::None},
    HOLDING_CLASS(0, "FirstClassItem", 2),
    HOLDING_CLASS(1, "SecondClassItem", 3),
    HOLDING_CLASS(2, "ThirdClassItem", 4),
    HOLDING_CLASS(3, "ValuableRelic", 5),
    {"Text25", K::LongText, "Reserve/DamageDescription", "", "藏品存放条件、损毁情况描述", -1, 0, 0, L::None},
    {"Command1", K::Button, nullptr, "", "藏品存放条件、损毁情况描述", 6, 0, 0, L::None},
    {"Text13", K::Number, "Security/AreaInfo/CorpArea", "0", "保护单位面积", 7, 0, 0, L::None},
    {"Text14", K::Number, "Security/AreaInfo/ItemArea", "0", "保护范围面积", 7, 0, 1, L::None},
    {"Combo3(2)", K::Coded, "Security/SecurityDeviceStatus", "", "技防设施", 9, 0, 0, L::State},
    {"Combo3(3)", K::Coded, "Security/StoreDeviceStatus", "", "文物保存设备", 9, 0, 1, L::State},
    {"Combo3(4)", K::Coded, "Security/FireProtect/WaterSupplyDeviceStatus", "", "供水设施", 8, 0, 0, L::State},
    {"Combo3(5)", K::Coded, "Security/FireProtect/AlarmDeviceStatus", "", "报警设施", 8, 0, 1, L::State},
    {"Combo3(6)", K::Coded, "Security/FireProtect/LightingDeviceStatus", "", "防雷设施", 8, 0, 2, L::State},
    {"Text17(1)", K::Number, "Security/StolenInfo/StolenTimes", "0", "文物被盗次数", 10, 0, 0, L::None},
    {"Text18(1)", K::Number, "Security/StolenInfo/StolenItemNum", "0", "被盗文物数量", 10, 0, 1, L::None},
    {"Combo3(0)", K::Coded, "Construction/Depot/FireSecurityDeviceStatus", "", "消防、技防设施", 11, 0, 0, L::State},
    {"Combo3(1)", K::Coded, "Construction/Depot/RelicProtectionDeviceStatus", "", "文物保存设备", 11, 0, 1,
     L::State},
    {"Text21", K::Number, "Construction/GreatSite/TotalArea", "0", "总面积", 12, 0, 0, L::None},
    {"Text22", K::Number, "Construction/GreatSite/CoreArea", "0", "重点保护区面积", 12, 0, 1, L::None},
    {"Text23", K::Text, "Construction/GreatSite/RelicAge", "", "遗址年代", 12, 1, 0, L::None},
    {"Text24", K::Text, "Construction/GreatSite/RelicType", "", "遗址类型", 12, 1, 1, L::None},
};

#undef HOLDING_CLASS

static_assert(std::size(kFields) == kFieldCount);

const CodedItem kTypeItems[] = {
    {10, "古建、石窟、近现代建筑"}, {20, "遗址、墓葬"}, {30, "博物馆"}, {40, "文物库房"}, {50, "其他"},
};

const CodedItem kClassItems[] = {
    {11, "全国重点文物保护单位"},
    {12, "拟申报全国重点文物保护单位"},
    {13, "省级文物保护单位"},
    {14, "地、市级文物保护单位"},
    {15, "县级文物保护单位"},
    {20, "重点博物馆"},
    {21, "省级博物馆"},
    {22, "市和县级博物馆"},
    {23, "文物中心库房"},
    {90, "其他"},
};

const CodedItem kRiskItems[] = {{10, "一级风险单位"}, {20, "二级风险单位"}, {90, "其他"}};

const CodedItem kStateItems[] = {{3, "完善"}, {2, "较完善"}, {1, "不完善"}, {0, "无"}};

const std::array<const char*, kClassCount> kClassElements = {"FirstClassItem", "SecondClassItem",
                                                             "ThirdClassItem", "ValuableRelic"};
const std::array<const char*, kClassCount> kClassNames = {"一级品", "二级品", "三级品", "重要出土文物"};

} // namespace

const char* tabCaption(int tab)
{
    return kTabs.at(tab);
}

std::span<const UnitInfoBlock> blocks()
{
    return kBlocks;
}

std::span<const UnitInfoField> fields()
{
    return kFields;
}

std::span<const CodedItem> items(UnitInfoList list)
{
    switch (list) {
    case UnitInfoList::Type:
        return kTypeItems;
    case UnitInfoList::Class:
        return kClassItems;
    case UnitInfoList::Risk:
        return kRiskItems;
    case UnitInfoList::State:
        return kStateItems;
    case UnitInfoList::None:
        break;
    }
    return {};
}

QString xpath(const UnitInfoField& field)
{
    return QStringLiteral("//CorpInfo/") + QString::fromUtf8(field.path);
}

const char* classElement(int i)
{
    return kClassElements.at(i);
}

const char* className(int i)
{
    return kClassNames.at(i);
}

HoldingsClassControls holdingsClass(int i)
{
    const QString index = QStringLiteral("(%1)").arg(i);
    return {QStringLiteral("Text9") + index, QStringLiteral("Text10") + index, QStringLiteral("Text11") + index,
            QStringLiteral("Text12") + index};
}

QString relicTotalControl()
{
    return QStringLiteral("Text29");
}

} // namespace UnitInfoFields
