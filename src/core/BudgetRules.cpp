#include "core/BudgetRules.h"

#include "core/ReportFieldTable.h"

using Table = ReportFieldTable;

namespace {

StoredAmount read(const ReportValues& values, const QString& id)
{
    if (!values.contains(id)) {
        StoredAmount absent;
        absent.plainText = QStringLiteral("0");
        return absent;
    }
    return ReadStoredAmount(values.value(id));
}

// Where each amount field's reading is kept, by position in the field table.
struct AmountPlace {
    enum Kind { None, Demand, Central, Local, ItemTotal, ItemShare } kind = None;
    int index = 0;
};

const std::vector<AmountPlace>& amountPlaces()
{
    static const std::vector<AmountPlace> places = [] {
        const auto& fields = Table::fields();
        std::vector<AmountPlace> all(fields.size());
        const auto place = [&](const QString& id, AmountPlace::Kind kind, int index) {
            const int at = Table::indexOf(id);
            if (at >= 0)
                all[static_cast<size_t>(at)] = {kind, index};
        };
        place(Table::demandTotalId(), AmountPlace::Demand, 0);
        for (int year = 0; year < 5; ++year) {
            place(Table::centralDemandIds()[year], AmountPlace::Central, year);
            place(Table::localDemandIds()[year], AmountPlace::Local, year);
        }
        const auto& pairs = Table::budgetPairs();
        for (int i = 0; i < static_cast<int>(pairs.size()); ++i) {
            place(pairs[static_cast<size_t>(i)].totalId, AmountPlace::ItemTotal, i);
            place(pairs[static_cast<size_t>(i)].centralId, AmountPlace::ItemShare, i);
        }
        return all;
    }();
    return places;
}

void note(NormalisedBoxes& boxes, const QString& id, const StoredAmount& amount)
{
    if (amount.rewritten)
        boxes.append({id, *amount.rewritten});
}

} // namespace

BudgetReading::BudgetReading(const ReportValues& values)
{
    demandTotal_ = read(values, Table::demandTotalId());
    sums_.demandTotal = demandTotal_.value;
    const auto& pairs = Table::budgetPairs();
    items_.reserve(pairs.size());
    for (size_t i = 0; i < pairs.size(); ++i) {
        // The hidden item is never stored: it is absent and counts as 0.
        StoredAmount total = read(values, pairs[i].totalId);
        StoredAmount share = read(values, pairs[i].centralId);
        if (sums_.firstShareAboveTotal < 0 && total.value < share.value)
            sums_.firstShareAboveTotal = static_cast<int>(i);
        sums_.itemsTotal += total.value;
        sums_.itemsShare += share.value;
        items_.emplace_back(std::move(total), std::move(share));
    }
    for (int year = 0; year < 5; ++year) {
        central_[static_cast<size_t>(year)] = read(values, Table::centralDemandIds()[year]);
        local_[static_cast<size_t>(year)] = read(values, Table::localDemandIds()[year]);
        sums_.yearsCentral += central_[static_cast<size_t>(year)].value;
        sums_.yearsLocal += local_[static_cast<size_t>(year)].value;
    }
    sums_.yearsTotal = sums_.yearsCentral + sums_.yearsLocal;
}

const StoredAmount* BudgetReading::amount(int fieldIndex) const
{
    const auto& places = amountPlaces();
    if (fieldIndex < 0 || fieldIndex >= static_cast<int>(places.size()))
        return nullptr;
    const AmountPlace& place = places[static_cast<size_t>(fieldIndex)];
    switch (place.kind) {
    case AmountPlace::Demand: return &demandTotal_;
    case AmountPlace::Central: return &central_[static_cast<size_t>(place.index)];
    case AmountPlace::Local: return &local_[static_cast<size_t>(place.index)];
    case AmountPlace::ItemTotal: return &items_[static_cast<size_t>(place.index)].first;
    case AmountPlace::ItemShare: return &items_[static_cast<size_t>(place.index)].second;
    case AmountPlace::None: break;
    }
    return nullptr;
}

NormalisedBoxes BudgetReading::normalised() const
{
    NormalisedBoxes boxes;
    note(boxes, Table::demandTotalId(), demandTotal_);
    const auto& pairs = Table::budgetPairs();
    const size_t stop = sums_.firstShareAboveTotal < 0 ? items_.size()
                                                        : static_cast<size_t>(sums_.firstShareAboveTotal) + 1;
    for (size_t i = 0; i < stop; ++i) {
        note(boxes, pairs[i].totalId, items_[i].first);
        note(boxes, pairs[i].centralId, items_[i].second);
    }
    if (sums_.firstShareAboveTotal >= 0)
        return boxes;
    for (int year = 0; year < 5; ++year) {
        note(boxes, Table::centralDemandIds()[year], central_[static_cast<size_t>(year)]);
        note(boxes, Table::localDemandIds()[year], local_[static_cast<size_t>(year)]);
    }
    return boxes;
}

StoredAmount ReadStoredAmount(const QString& text)
{
    StoredAmount amount;
    amount.present = true;
    auto parsed = BudgetAmount::parse(text);
    if (!parsed) {
        amount.isNumber = false;
        amount.plainText = QStringLiteral("0");
        amount.rewritten = amount.plainText;
        return amount;
    }
    // Full-width or grouped input is shown as the plain decimal that was counted.
    if (parsed->plainText != text.trimmed())
        amount.rewritten = parsed->plainText;
    amount.value = std::move(parsed->value);
    amount.plainText = std::move(parsed->plainText);
    return amount;
}

BudgetAmount ReadAmountText(const QString& text, std::optional<QString>* rewritten)
{
    StoredAmount amount = ReadStoredAmount(text);
    *rewritten = std::move(amount.rewritten);
    return std::move(amount.value);
}

QString BudgetRuleMessage(int rule)
{
    switch (rule) {
    case 1: return QStringLiteral("项目预算情况中各项的总计金额应大于等于各项中央投入金额");
    case 2: return QStringLiteral("项目资金需求情况中十一五期间资金需求合计应大于等于各年中央与地方投入之总和");
    case 3: return QStringLiteral("项目资金需求情况中十一五期间资金需求合计应大于项目预算情况中各项总计之合");
    case 4: return QStringLiteral("项目资金需求情况中十一五期间资金需求各年中央累计投入应大于项目预算情况中各项中央投入之合");
    default: return QString();
    }
}

int FirstBrokenBudgetRule(const BudgetRuleSums& sums)
{
    if (sums.firstShareAboveTotal >= 0)
        return 1;
    if (sums.demandTotal < sums.yearsTotal)
        return 2;
    if (sums.demandTotal < sums.itemsTotal)
        return 3;
    if (sums.yearsCentral < sums.itemsShare)
        return 4;
    return 0;
}

BudgetRuleResult CheckBudgetRules(const ReportValues& values)
{
    const BudgetReading reading(values);
    BudgetRuleResult result;
    result.brokenRule = reading.firstBrokenRule();
    result.message = BudgetRuleMessage(result.brokenRule);
    result.normalised = reading.normalised();
    return result;
}
