#include "unitinfo/HoldingsCheck.h"

#include "unitinfo/FieldValue.h"
#include "ui/UserInterface.h"

#include <QString>

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

bool CheckHoldings(QWidget* parent, const HoldingsBoxes& boxes)
{
    std::int64_t sum = 0;
    for (int i = 0; i < 4; ++i) {
        const HoldingsBoxes::Class& c = boxes.classes[i];
        // All four are read, in this order, before any is judged: a read may reset a box.
        const std::optional<int> total = ClassCount(GetFieldValue(c.total));
        const std::optional<int> intact = ClassCount(GetFieldValue(c.intact));
        const std::optional<int> slight = ClassCount(GetFieldValue(c.slight));
        const std::optional<int> severe = ClassCount(GetFieldValue(c.severe));
        // A count or a sum outside the 32-bit range cannot be a true count: the class is
        // refused rather than wrapped around.
        bool holds = total && intact && slight && severe;
        if (holds) {
            const std::int64_t parts = std::int64_t(*intact) + *slight + *severe;
            holds = fitsInt32(parts) && parts == *total && fitsInt32(sum + *total);
        }
        if (!holds) {
            ui::current().message(parent, QString::fromUtf8(kClassMessages[i]));
            return false;
        }
        sum += *total;
    }
    const double relics = GetFieldValue(boxes.relicTotal);
    if (static_cast<double>(sum) > relics) {
        ui::current().message(parent,
                              QStringLiteral("文物总数应大于等于一级品总数+二级品总数+三级品总数+重要出土文物总数"));
        return false;
    }
    return true;
}
