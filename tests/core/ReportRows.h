#pragma once

// The report's fields as the document format defines them, and distinct sample values,
// shared by the core and window tests of the report.
#include <QMap>
#include <QString>
#include <iterator>

namespace rows {

struct Row {
    const char* name;
    const char* path; // under //Report/
    const char* defaultText;
};

// The report's fields in transfer order, as the document format defines them.
inline const Row kRows[] = {
    {"Text1", "BasicInfo/ProjectID", ""},
    {"Text2", "BasicInfo/ProjectName", ""},
    {"Combo1", "BasicInfo/ProjectType", nullptr},
    {"Combo2", "BasicInfo/ProjectAttribute", nullptr},
    {"Text7", "BasicInfo/SalvageItem/NewDepotArea", "0"},
    {"Text30", "BasicInfo/SalvageItem/ProtectionContent", ""},
    {"Text8", "BasicInfo/SalvageItem/RelicProtectionArea", ""},
    {"Text31", "BasicInfo/SalvageItem/RelicProtectionContent", ""},
    {"Text29", "BasicInfo/AssitantItem/ProtectionArea", "0"},
    {"Text3", "BasicInfo/PreserveContent", ""},
    {"Text4", "BasicInfo/CurrentProblem", ""},
    {"Text5", "BasicInfo/ProjectContent", ""},
    {"Text6", "BasicInfo/Remark", ""},
    {"Text9", "FundDemand/Investment/State", "0"},
    {"Text10", "FundDemand/Investment/Local", "0"},
    {"Text11", "FundDemand/Investment/Other", "0"},
    {"Text32", "FundDemand/Demand/Total", "0"},
    {"Text12(0)", "FundDemand/Demand/State/Year2006", "0"},
    {"Text12(1)", "FundDemand/Demand/State/Year2007", "0"},
    {"Text12(2)", "FundDemand/Demand/State/Year2008", "0"},
    {"Text12(3)", "FundDemand/Demand/State/Year2009", "0"},
    {"Text12(4)", "FundDemand/Demand/State/Year2010", "0"},
    {"Text13(0)", "FundDemand/Demand/Local/Year2006", "0"},
    {"Text13(1)", "FundDemand/Demand/Local/Year2007", "0"},
    {"Text13(2)", "FundDemand/Demand/Local/Year2008", "0"},
    {"Text13(3)", "FundDemand/Demand/Local/Year2009", "0"},
    {"Text13(4)", "FundDemand/Demand/Local/Year2010", "0"},
    {"Text17(0)", "BudgetDetail/RelicRepairment/Preparation/Total", "0"},
    {"Text18(0)", "BudgetDetail/RelicRepairment/Preparation/State", "0"},
    {"Text19(0)", "BudgetDetail/RelicRepairment/Construction/Total", "0"},
    {"Text20(0)", "BudgetDetail/RelicRepairment/Construction/State", "0"},
    {"Text21(0)", "BudgetDetail/RelicRepairment/Estate/Total", "0"},
    {"Text22(0)", "BudgetDetail/RelicRepairment/Estate/State", "0"},
    {"Text23(0)", "BudgetDetail/RelicRepairment/Enviroment/Total", "0"},
    {"Text24(0)", "BudgetDetail/RelicRepairment/Enviroment/State", "0"},
    {"Text25(0)", "BudgetDetail/RelicRepairment/Traffic/Total", "0"},
    {"Text26(0)", "BudgetDetail/RelicRepairment/Traffic/State", "0"},
    {"Text27(0)", "BudgetDetail/RelicRepairment/Other/Total", "0"},
    {"Text28(0)", "BudgetDetail/RelicRepairment/Other/State", "0"},
    {"Text17(1)", "BudgetDetail/UnEarth/Preparation/Total", "0"},
    {"Text18(1)", "BudgetDetail/UnEarth/Preparation/State", "0"},
    {"Text19(1)", "BudgetDetail/UnEarth/UnEarth/Total", "0"},
    {"Text20(1)", "BudgetDetail/UnEarth/UnEarth/State", "0"},
    {"Text23(1)", "BudgetDetail/UnEarth/Report/Total", "0"},
    {"Text24(1)", "BudgetDetail/UnEarth/Report/State", "0"},
    {"Text25(1)", "BudgetDetail/UnEarth/Protection/Total", "0"},
    {"Text26(1)", "BudgetDetail/UnEarth/Protection/State", "0"},
    {"Text27(1)", "BudgetDetail/UnEarth/Other/Total", "0"},
    {"Text28(1)", "BudgetDetail/UnEarth/Other/State", "0"},
    {"Text17(2)", "BudgetDetail/DepotRepairment/Preparation/Total", "0"},
    {"Text18(2)", "BudgetDetail/DepotRepairment/Preparation/State", "0"},
    {"Text19(2)", "BudgetDetail/DepotRepairment/Construction/Total", "0"},
    {"Text20(2)", "BudgetDetail/DepotRepairment/Construction/State", "0"},
    {"Text21(2)", "BudgetDetail/DepotRepairment/Other/Total", "0"},
    {"Text22(2)", "BudgetDetail/DepotRepairment/Other/State", "0"},
    {"Text17(4)", "BudgetDetail/RelicPurchase/Total", "0"},
    {"Text18(4)", "BudgetDetail/RelicPurchase/State", "0"},
    {"Text17(3)", "BudgetDetail/FireSecurity/Design/Total", "0"},
    {"Text18(3)", "BudgetDetail/FireSecurity/Design/State", "0"},
    {"Text19(3)", "BudgetDetail/FireSecurity/Purchase/Total", "0"},
    {"Text20(3)", "BudgetDetail/FireSecurity/Purchase/State", "0"},
    {"Text21(3)", "BudgetDetail/FireSecurity/Construction/Total", "0"},
    {"Text22(3)", "BudgetDetail/FireSecurity/Construction/State", "0"},
    {"Text23(2)", "BudgetDetail/FireSecurity/Other/Total", "0"},
    {"Text24(2)", "BudgetDetail/FireSecurity/Other/State", "0"},
    {"Text17(5)", "BudgetDetail/RelicProtection/Design/Total", "0"},
    {"Text18(5)", "BudgetDetail/RelicProtection/Design/State", "0"},
    {"Text19(4)", "BudgetDetail/RelicProtection/Repairment/Total", "0"},
    {"Text20(4)", "BudgetDetail/RelicProtection/Repairment/State", "0"},
    {"Text21(4)", "BudgetDetail/RelicProtection/Other/Total", "0"},
    {"Text22(4)", "BudgetDetail/RelicProtection/Other/State", "0"},
    {"Text17(6)", "BudgetDetail/GreatSiteProtection/Construction/Total", "0"},
    {"Text18(6)", "BudgetDetail/GreatSiteProtection/Construction/State", "0"},
    {"Text19(5)", "BudgetDetail/GreatSiteProtection/Purchase/Total", "0"},
    {"Text20(5)", "BudgetDetail/GreatSiteProtection/Purchase/State", "0"},
    {"Text21(5)", "BudgetDetail/GreatSiteProtection/Other/Total", "0"},
    {"Text22(5)", "BudgetDetail/GreatSiteProtection/Other/State", "0"},
    {"Text17(7)", "BudgetDetail/DepotConstruction/Construction/Total", "0"},
    {"Text18(7)", "BudgetDetail/DepotConstruction/Construction/State", "0"},
    {"Text19(6)", "BudgetDetail/DepotConstruction/Purchase/Total", "0"},
    {"Text20(6)", "BudgetDetail/DepotConstruction/Purchase/State", "0"},
    {"Text21(6)", "BudgetDetail/DepotConstruction/Other/Total", "0"},
    {"Text22(6)", "BudgetDetail/DepotConstruction/Other/State", "0"},
};

inline QString pathOf(const Row& row)
{
    return QStringLiteral("//Report/") + QString::fromLatin1(row.path);
}

inline QString nameOf(const Row& row)
{
    return QString::fromLatin1(row.name);
}

inline bool isList(const Row& row)
{
    return row.defaultText == nullptr;
}

// Distinct values for every field, consistent with the budget rules: cost item k has
// the total 2k + 0.5 and the share k; the demand covers both.
inline QMap<QString, QString> sampleValues()
{
    QMap<QString, QString> values{
        {"Text1", "XM-2006-01"},
        {"Text2", QStringLiteral("城墙&<>\"' 修缮 𠀀")},
        {"Text7", "1200.5"},
        {"Text30", QStringLiteral("第一行 &amp; <b>\n第二行\t制表\n𠀀")},
        {"Text8", QStringLiteral("约3000平方米'\"")},
        {"Text31", QStringLiteral("遗址\n\n保护 ]]> 内容")},
        {"Text29", "88"},
        {"Text3", QStringLiteral("\"九五\"以来\n第二段")},
        {"Text4", QStringLiteral("问题一\n问题二\n")},
        {"Text5", QStringLiteral("十一五\n<内容>")},
        {"Text6", QStringLiteral("备注 𠀀")},
        {"Text9", "10"},
        {"Text10", "20.25"},
        {"Text11", "-3"},
        {"Text32", "1000"},
    };
    for (int i = 0; i < 5; ++i) {
        values[QStringLiteral("Text12(%1)").arg(i)] = QString::number(100 + i);
        values[QStringLiteral("Text13(%1)").arg(i)] = QString::number(50 + i);
    }
    int item = 1;
    bool total = true;
    for (const Row& row : kRows) {
        if (!QByteArray(row.path).startsWith("BudgetDetail"))
            continue;
        values[nameOf(row)] = total ? QStringLiteral("%1.5").arg(2 * item) : QString::number(item);
        if (!total)
            ++item;
        total = !total;
    }
    return values;
}

} // namespace rows
