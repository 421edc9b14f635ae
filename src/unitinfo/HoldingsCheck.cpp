#include "unitinfo/HoldingsCheck.h"

#include "ui/UserInterface.h"
#include "core/UnitInfoFields.h"

#include <QHash>
#include <QLineEdit>

bool checkHoldings(QWidget* parent, const HoldingsBoxes& boxes)
{
    UnitInfoValues values;
    QHash<QString, QLineEdit*> byName;
    auto gather = [&](const QString& control, QLineEdit* box) {
        if (!box)
            return;
        values.setValue(control, box->text());
        byName.insert(control, box);
    };
    for (int i = 0; i < UnitInfoFields::kClassCount; ++i) {
        const UnitInfoFields::HoldingsClassControls c = UnitInfoFields::holdingsClass(i);
        const HoldingsBoxes::Class& b = boxes.classes[static_cast<size_t>(i)];
        gather(c.total, b.total);
        gather(c.intact, b.intact);
        gather(c.slight, b.slight);
        gather(c.severe, b.severe);
    }
    gather(UnitInfoFields::relicTotalControl(), boxes.relicTotal);

    const HoldingsRuleResult result = CheckHoldingsRules(values);
    for (const auto& [control, text] : result.normalised)
        byName.value(control)->setText(text);
    if (!result.ok()) {
        ui::current().message(parent, result.message);
        return false;
    }
    return true;
}
