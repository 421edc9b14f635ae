#include "core/HoldingsRules.h"

#include "core/XmlDocumentAccess.h"
#include "core/NumericStart.h"
#include "core/UnitInfoFields.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace {

const char* const kClassMessages[4] = {
    "一级品总数应等于完好数量+加一般受损数量+严重受损数量",
    "二级品总数应等于完好数量+加一般受损数量+严重受损数量",
    "三级品总数应等于完好数量+加一般受损数量+严重受损数量",
    "重要出土文物总数应等于完好数量+加一般受损数量+严重受损数量",
};

bool fitsInt32(std::int64_t v)
{
    return v >= std::numeric_limits<std::int32_t>::min() && v <= std::numeric_limits<std::int32_t>::max();
}

// A box's value as the unit dialog reads it: the number at the start of its text. Only a
// number too large for a double rewrites the box, to "0".
double fieldValue(const UnitInfoValues& values, const QString& control, NormalisedBoxes& normalised)
{
    if (!values.contains(control))
        return 0;
    const NumericStart number = ReadNumericStart(xml::TrimSpaces(values.value(control)));
    if (number.overflow) {
        normalised.append({control, QStringLiteral("0")});
        return 0;
    }
    return number.value;
}

} // namespace

double RoundHalfEven(double value)
{
    if (!std::isfinite(value))
        return value;
    const double below = std::floor(value);
    const double fraction = value - below;
    if (fraction < 0.5)
        return below;
    if (fraction > 0.5)
        return below + 1;
    return std::fmod(below, 2.0) == 0 ? below : below + 1;
}

std::optional<int> ClassCount(double value)
{
    const double rounded = RoundHalfEven(value);
    if (!(rounded >= std::numeric_limits<std::int32_t>::min() && rounded <= std::numeric_limits<std::int32_t>::max()))
        return std::nullopt;
    return static_cast<int>(rounded);
}

HoldingsRuleResult CheckHoldingsRules(const UnitInfoValues& values)
{
    HoldingsRuleResult result;
    std::int64_t sum = 0;
    for (int i = 0; i < UnitInfoFields::kClassCount; ++i) {
        const UnitInfoFields::HoldingsClassControls c = UnitInfoFields::holdingsClass(i);
        // All four are read, in this order, before any is judged: a read may reset a box.
        const std::optional<int> total = ClassCount(fieldValue(values, c.total, result.normalised));
        const std::optional<int> intact = ClassCount(fieldValue(values, c.intact, result.normalised));
        const std::optional<int> slight = ClassCount(fieldValue(values, c.slight, result.normalised));
        const std::optional<int> severe = ClassCount(fieldValue(values, c.severe, result.normalised));
        // A count or a sum outside the 32-bit range cannot be a true count: the class is
        // refused rather than wrapped around.
        bool holds = total && intact && slight && severe;
        if (holds) {
            const std::int64_t parts = std::int64_t(*intact) + *slight + *severe;
            holds = fitsInt32(parts) && parts == *total && fitsInt32(sum + *total);
        }
        if (!holds) {
            result.brokenRule = i + 1;
            result.message = QString::fromUtf8(kClassMessages[i]);
            return result;
        }
        sum += *total;
    }
    const double relics = fieldValue(values, UnitInfoFields::relicTotalControl(), result.normalised);
    if (static_cast<double>(sum) > relics) {
        result.brokenRule = 5;
        result.message = QStringLiteral("文物总数应大于等于一级品总数+二级品总数+三级品总数+重要出土文物总数");
    }
    return result;
}
