#pragma once

#include <QList>
#include <QPair>
#include <QString>

// Boxes whose text reading rewrote, in reading order: control name -> new text.
using NormalisedBoxes = QList<QPair<QString, QString>>;
