#include "core/ReportFieldTable.h"

#include <QHash>
#include <QStringList>
#include <algorithm>
#include <array>

namespace {

using Kind = ReportFieldTable::ControlKind;
using Place = ReportFieldTable::LabelPlace;
using Line = ReportFieldTable::BudgetLine;

// The general fields (tabs 0 and 1), in transfer order.
struct GeneralRow {
    const char* id;
    Kind kind;
    int number;
    int index;
    const char* xpath;
    const char* defaultText;
    const char* label;
    const char* rowLabel;
    Place place;
    int group;
    int row;
    int column;
    int headerRow;
};

constexpr const char* kButtonCaptions[4] = {
    "\"九五\"以来主要保护内容",
    "现存主要问题",
    "\"十一五\"项目主要内容",
    "备注",
};

constexpr std::array<GeneralRow, 27> kGeneral{{
    {"projectCode", Kind::LineEdit, 1, -1, "//Report/BasicInfo/ProjectID", "", "项目编号", "", Place::Left, 0, 0, 0, 0},
    {"projectName", Kind::LineEdit, 2, -1, "//Report/BasicInfo/ProjectName", "", "项目名称", "", Place::Left, 0, 0, 1, 0},
    {"projectType", Kind::List, 1, -1, "//Report/BasicInfo/ProjectType", "", "项目类别", "", Place::Left, 0, 1, 0, 0},
    {"projectNature", Kind::List, 2, -1, "//Report/BasicInfo/ProjectAttribute", "", "项目性质", "", Place::Left, 0, 1, 1, 0},
    {"newDepotArea", Kind::LineEdit, 7, -1, "//Report/BasicInfo/SalvageItem/NewDepotArea", "0", "新增库房面积", "", Place::Left, 1, 0, 0, 0},
    {"protectionFacilities", Kind::PlainText, 30, -1, "//Report/BasicInfo/SalvageItem/ProtectionContent", "", "保护设施设备内容", "", Place::Above, 1, 1, 0, 0},
    {"relicProtectionScale", Kind::LineEdit, 8, -1, "//Report/BasicInfo/SalvageItem/RelicProtectionArea", "", "遗址保护设施建设规模", "", Place::Left, 1, 0, 1, 0},
    {"relicProtectionContent", Kind::PlainText, 31, -1, "//Report/BasicInfo/SalvageItem/RelicProtectionContent", "", "遗址保护设施建设内容", "", Place::Above, 1, 1, 1, 0},
    {"repairArea", Kind::LineEdit, 29, -1, "//Report/BasicInfo/AssitantItem/ProtectionArea", "0", "保护维修面积", "", Place::Left, 2, 0, 0, 0},
    {"protectionSoFar", Kind::PlainText, 3, -1, "//Report/BasicInfo/PreserveContent", "", kButtonCaptions[0], "", Place::Hidden, -1, 0, 0, 0},
    {"currentProblems", Kind::PlainText, 4, -1, "//Report/BasicInfo/CurrentProblem", "", kButtonCaptions[1], "", Place::Hidden, -1, 0, 0, 0},
    {"projectContent", Kind::PlainText, 5, -1, "//Report/BasicInfo/ProjectContent", "", kButtonCaptions[2], "", Place::Hidden, -1, 0, 0, 0},
    {"remark", Kind::PlainText, 6, -1, "//Report/BasicInfo/Remark", "", kButtonCaptions[3], "", Place::Hidden, -1, 0, 0, 0},
    {"investedCentral", Kind::LineEdit, 9, -1, "//Report/FundDemand/Investment/State", "0", "中央", "", Place::Left, 3, 0, 0, 0},
    {"investedLocal", Kind::LineEdit, 10, -1, "//Report/FundDemand/Investment/Local", "0", "地方", "", Place::Left, 3, 0, 1, 0},
    {"investedOther", Kind::LineEdit, 11, -1, "//Report/FundDemand/Investment/Other", "0", "其他", "", Place::Left, 3, 0, 2, 0},
    {"demandTotal", Kind::LineEdit, 32, -1, "//Report/FundDemand/Demand/Total", "0", "合计", "", Place::Left, 4, 0, 0, 0},
    // The year grid: central in grid column 1, local in column 2, one row per year.
    {"centralDemand2006", Kind::LineEdit, 12, 0, "//Report/FundDemand/Demand/State/Year2006", "0", "中央", "2006", Place::Grid, 4, 2, 1, 1},
    {"centralDemand2007", Kind::LineEdit, 12, 1, "//Report/FundDemand/Demand/State/Year2007", "0", "中央", "2007", Place::Grid, 4, 3, 1, 1},
    {"centralDemand2008", Kind::LineEdit, 12, 2, "//Report/FundDemand/Demand/State/Year2008", "0", "中央", "2008", Place::Grid, 4, 4, 1, 1},
    {"centralDemand2009", Kind::LineEdit, 12, 3, "//Report/FundDemand/Demand/State/Year2009", "0", "中央", "2009", Place::Grid, 4, 5, 1, 1},
    {"centralDemand2010", Kind::LineEdit, 12, 4, "//Report/FundDemand/Demand/State/Year2010", "0", "中央", "2010", Place::Grid, 4, 6, 1, 1},
    {"localDemand2006", Kind::LineEdit, 13, 0, "//Report/FundDemand/Demand/Local/Year2006", "0", "地方", "2006", Place::Grid, 4, 2, 2, 1},
    {"localDemand2007", Kind::LineEdit, 13, 1, "//Report/FundDemand/Demand/Local/Year2007", "0", "地方", "2007", Place::Grid, 4, 3, 2, 1},
    {"localDemand2008", Kind::LineEdit, 13, 2, "//Report/FundDemand/Demand/Local/Year2008", "0", "地方", "2008", Place::Grid, 4, 4, 2, 1},
    {"localDemand2009", Kind::LineEdit, 13, 3, "//Report/FundDemand/Demand/Local/Year2009", "0", "地方", "2009", Place::Grid, 4, 5, 2, 1},
    {"localDemand2010", Kind::LineEdit, 13, 4, "//Report/FundDemand/Demand/Local/Year2010", "0", "地方", "2010", Place::Grid, 4, 6, 2, 1},
}};

constexpr std::array<ReportFieldTable::FieldGroup, 5> kGroups{{
    {"", "", 0},
    {"Frame3", "抢救性文物保护措施建设项目", 0},
    {"Frame5", "文物保护专项补助经费项目", 0},
    {"Frame1", "九五以来资金投入", 1},
    {"Frame2", "十一五期间资金需求", 1},
}};

constexpr Line kRelicRepairment[] = {
    {"relicRepairPreparation", "前期费用", "Preparation", 17, 0, false},
    {"relicRepairConstruction", "工程费", "Construction", 19, 0, false},
    {"relicRepairLand", "征地", "Estate", 21, 0, false},
    {"relicRepairEnvironment", "环境整治", "Enviroment", 23, 0, false},
    {"relicRepairRoads", "道路设施", "Traffic", 25, 0, false},
    {"relicRepairOther", "其他", "Other", 27, 0, false},
};
constexpr Line kUnEarth[] = {
    {"excavationPreparation", "前期费用", "Preparation", 17, 1, false},
    {"excavationDigging", "发掘费", "UnEarth", 19, 1, false},
    {"excavationFindsRestoration", "出土文物修复费", "", 21, 1, true},
    {"excavationReport", "报告出版(含资料整理)", "Report", 23, 1, false},
    {"excavationSiteProtection", "保护费遗址考古现场", "Protection", 25, 1, false},
    {"excavationOther", "其他", "Other", 27, 1, false},
};
constexpr Line kDepotRepairment[] = {
    {"museumRepairPreparation", "前期费用", "Preparation", 17, 2, false},
    {"museumRepairConstruction", "工程费", "Construction", 19, 2, false},
    {"museumRepairOther", "其他", "Other", 21, 2, false},
};
constexpr Line kRelicPurchase[] = {
    {"relicPurchase", "文物征集费", "", 17, 4, false},
};
constexpr Line kFireSecurity[] = {
    {"fireSecurityDesign", "规划设计费", "Design", 17, 3, false},
    {"fireSecurityEquipment", "设备器材购置费", "Purchase", 19, 3, false},
    {"fireSecurityConstruction", "施工预算", "Construction", 21, 3, false},
    {"fireSecurityOther", "其他", "Other", 23, 2, false},
};
constexpr Line kRelicProtection[] = {
    {"collectionCareDesign", "方案设计费", "Design", 17, 5, false},
    {"collectionCareRestoration", "保护修复费", "Repairment", 19, 4, false},
    {"collectionCareOther", "其他", "Other", 21, 4, false},
};
constexpr Line kGreatSiteProtection[] = {
    {"greatSiteConstruction", "土地工程费", "Construction", 17, 6, false},
    {"greatSiteEquipment", "设备购置费", "Purchase", 19, 5, false},
    {"greatSiteOther", "其他", "Other", 21, 5, false},
};
constexpr Line kDepotConstruction[] = {
    {"depotBuildingConstruction", "土地工程费", "Construction", 17, 7, false},
    {"depotBuildingEquipment", "设备购置费", "Purchase", 19, 6, false},
    {"depotBuildingOther", "其他", "Other", 21, 6, false},
};

// Each budget tab stacks its frames from top to bottom in the order of the frame array.
constexpr std::array<ReportFieldTable::BudgetFrame, 8> kFrames{{
    {"文保维修遗址保护", "RelicRepairment", 2, 0, 0, 3, kRelicRepairment},
    {"考古发掘", "UnEarth", 2, 1, 0, 3, kUnEarth},
    {"博物馆维修", "DepotRepairment", 2, 2, 0, 3, kDepotRepairment},
    {"文物征集", "RelicPurchase", 3, 0, 0, 3, kRelicPurchase},
    {"安全消防", "FireSecurity", 3, 1, 0, 3, kFireSecurity},
    {"藏品保护", "RelicProtection", 3, 2, 0, 3, kRelicProtection},
    {"大遗址保护设施", "GreatSiteProtection", 3, 3, 0, 3, kGreatSiteProtection},
    {"文物库房建设", "DepotConstruction", 3, 4, 0, 3, kDepotConstruction},
}};

// The rules read the cost items by control array: all of Text17/Text18 by index, then
// Text19/Text20, and so on. Each total array is followed by its share array.
constexpr std::array<int, 6> kTotalArrays{17, 19, 21, 23, 25, 27};

QString u8(const char* text)
{
    return QString::fromUtf8(text);
}

std::vector<ReportFieldTable::Field> buildFields()
{
    std::vector<ReportFieldTable::Field> fields;
    fields.reserve(83);
    for (const GeneralRow& row : kGeneral) {
        ReportFieldTable::Field f;
        f.id = u8(row.id);
        f.control = {row.kind, row.number, row.index};
        f.xpath = u8(row.xpath);
        f.defaultText = u8(row.defaultText);
        f.label = u8(row.label);
        f.rowLabel = u8(row.rowLabel);
        f.place = row.place;
        f.group = row.group;
        f.row = row.row;
        f.column = row.column;
        f.headerRow = row.headerRow;
        fields.push_back(f);
    }
    for (int frame = 0; frame < static_cast<int>(kFrames.size()); ++frame) {
        const auto& lines = kFrames[static_cast<size_t>(frame)].lines;
        for (int line = 0; line < static_cast<int>(lines.size()); ++line) {
            const Line& l = lines[static_cast<size_t>(line)];
            if (l.hidden)
                continue;
            for (bool share : {false, true}) {
                ReportFieldTable::Field f;
                f.id = u8(l.id) + (share ? QStringLiteral("Central") : QStringLiteral("Total"));
                f.control = {Kind::LineEdit, l.totalArray + (share ? 1 : 0), l.index};
                f.xpath = ReportFieldTable::budgetXPath(frame, line, share);
                f.defaultText = QStringLiteral("0");
                f.label = share ? ReportFieldTable::shareHeader() : ReportFieldTable::totalHeader();
                f.rowLabel = u8(l.caption);
                f.accessibleName = ReportFieldTable::budgetBoxName(frame, line, share);
                f.place = Place::Budget;
                f.budgetFrame = frame;
                f.budgetLine = line;
                fields.push_back(f);
            }
        }
    }
    // A general field's caption alone names it unless another field shows the same
    // caption; then its row (a year) or its frame tells them apart.
    QHash<QString, int> uses;
    for (const auto& f : fields)
        ++uses[f.place == Place::Budget ? f.rowLabel : f.label];
    for (auto& f : fields) {
        if (f.place == Place::Budget)
            continue;
        if (uses.value(f.label) < 2)
            f.accessibleName = f.label;
        else if (!f.rowLabel.isEmpty())
            f.accessibleName = f.rowLabel + QLatin1Char(' ') + f.label;
        else
            f.accessibleName = u8(kGroups[static_cast<size_t>(f.group)].caption) + QLatin1Char(' ') + f.label;
    }
    return fields;
}

} // namespace

QString ReportFieldTable::ControlRef::objectName() const
{
    const QString base = (kind == ControlKind::List ? QStringLiteral("Combo") : QStringLiteral("Text")) +
                         QString::number(number);
    return index < 0 ? base : base + QStringLiteral("(%1)").arg(index);
}

const QStringList& ReportFieldTable::tabCaptions()
{
    static const QStringList captions{QStringLiteral("项目基本情况"), QStringLiteral("项目资金需求情况"),
                                      QStringLiteral("项目资金预算情况一"), QStringLiteral("项目资金预算情况二")};
    return captions;
}

std::span<const ReportFieldTable::FieldGroup> ReportFieldTable::fieldGroups()
{
    return kGroups;
}

std::span<const ReportFieldTable::BudgetFrame> ReportFieldTable::budgetFrames()
{
    return kFrames;
}

const std::vector<ReportFieldTable::BudgetPair>& ReportFieldTable::budgetPairs()
{
    static const std::vector<BudgetPair> pairs = [] {
        std::vector<BudgetPair> all;
        for (int array : kTotalArrays) {
            std::vector<BudgetPair> ofArray;
            for (int frame = 0; frame < static_cast<int>(kFrames.size()); ++frame) {
                const auto& lines = kFrames[static_cast<size_t>(frame)].lines;
                for (int line = 0; line < static_cast<int>(lines.size()); ++line) {
                    const Line& l = lines[static_cast<size_t>(line)];
                    if (l.totalArray != array)
                        continue;
                    ofArray.push_back({u8(l.id) + QStringLiteral("Total"), u8(l.id) + QStringLiteral("Central"),
                                       {ControlKind::LineEdit, array, l.index},
                                       {ControlKind::LineEdit, array + 1, l.index}, frame, line, l.hidden});
                }
            }
            std::sort(ofArray.begin(), ofArray.end(),
                      [](const BudgetPair& a, const BudgetPair& b) { return a.total.index < b.total.index; });
            all.insert(all.end(), ofArray.begin(), ofArray.end());
        }
        return all;
    }();
    return pairs;
}

const QString& ReportFieldTable::demandTotalId()
{
    static const QString id = QStringLiteral("demandTotal");
    return id;
}

const QStringList& ReportFieldTable::centralDemandIds()
{
    static const QStringList ids{QStringLiteral("centralDemand2006"), QStringLiteral("centralDemand2007"),
                                 QStringLiteral("centralDemand2008"), QStringLiteral("centralDemand2009"),
                                 QStringLiteral("centralDemand2010")};
    return ids;
}

const QStringList& ReportFieldTable::localDemandIds()
{
    static const QStringList ids{QStringLiteral("localDemand2006"), QStringLiteral("localDemand2007"),
                                 QStringLiteral("localDemand2008"), QStringLiteral("localDemand2009"),
                                 QStringLiteral("localDemand2010")};
    return ids;
}

const std::vector<ReportFieldTable::Field>& ReportFieldTable::fields()
{
    static const std::vector<Field> table = buildFields();
    return table;
}

int ReportFieldTable::indexOf(QStringView id)
{
    static const QHash<QString, int> positions = [] {
        QHash<QString, int> all;
        const auto& table = fields();
        for (int i = 0; i < static_cast<int>(table.size()); ++i)
            all.insert(table[static_cast<size_t>(i)].id, i);
        return all;
    }();
    return positions.value(id.toString(), -1);
}

const ReportFieldTable::Field* ReportFieldTable::field(QStringView id)
{
    const int at = indexOf(id);
    return at < 0 ? nullptr : &fields()[static_cast<size_t>(at)];
}

QString ReportFieldTable::longTextButtonCaption(int i)
{
    return (i >= 0 && i < 4) ? u8(kButtonCaptions[i]) : QString();
}

QString ReportFieldTable::totalHeader()
{
    return QStringLiteral("总计");
}

QString ReportFieldTable::shareHeader()
{
    return QStringLiteral("中央投入");
}

QString ReportFieldTable::budgetBoxName(int frame, int line, bool share)
{
    const BudgetFrame& f = kFrames[static_cast<size_t>(frame)];
    return u8(f.caption) + QLatin1Char(' ') + u8(f.lines[static_cast<size_t>(line)].caption) + QLatin1Char(' ') +
           (share ? shareHeader() : totalHeader());
}

QString ReportFieldTable::budgetXPath(int frame, int line, bool share)
{
    const BudgetFrame& f = kFrames[static_cast<size_t>(frame)];
    const Line& l = f.lines[static_cast<size_t>(line)];
    QString path = QStringLiteral("//Report/BudgetDetail/") + u8(f.section);
    if (*l.element)
        path += QLatin1Char('/') + u8(l.element);
    return path + (share ? QStringLiteral("/State") : QStringLiteral("/Total"));
}
