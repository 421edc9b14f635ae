#pragma once

#include <QList>
#include <QPair>
#include <QString>

// Values whose reading rewrote them, in reading order: field or control -> new text.
using NormalisedBoxes = QList<QPair<QString, QString>>;
