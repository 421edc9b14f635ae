#pragma once

// What the holdings tests of core and of the unit dialog both need: the rules' messages
// and the counts of the holdings tab in box order.
#include <QString>
#include <QStringList>

#include <initializer_list>
#include <utility>

namespace {

const QString kRelicMessage = QStringLiteral("文物总数应大于等于一级品总数+二级品总数+三级品总数+重要出土文物总数");

QString classMessage(int i)
{
    static const char* names[] = {"一级品", "二级品", "三级品", "重要出土文物"};
    return QString::fromUtf8(names[i]) + QStringLiteral("总数应等于完好数量+加一般受损数量+严重受损数量");
}

// Sixteen class boxes (total, intact, slight, severe for each class) and the relic total.
using Counts = QStringList;

Counts counts(std::initializer_list<std::pair<int, QStringList>> classes, const QString& relics = QString())
{
    Counts c(17);
    for (const auto& [i, values] : classes)
        for (int k = 0; k < values.size(); ++k)
            c[i * 4 + k] = values[k];
    c[16] = relics;
    return c;
}

} // namespace
