#pragma once
// Stand-in until the core library is merged; see ../README.md.
#include <QList>
#include <QPair>
#include <QString>
using NormalisedBoxes = QList<QPair<QString, QString>>;
