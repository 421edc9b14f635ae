#pragma once

#include <QString>

// Why a file could not be written, as a clerk reads it: the reasons met in practice in
// Chinese (a read-only disk, a full one, no permission), any other as the system gave it.
// The system's own text comes in English where no Chinese translation was loaded.
QString WriteFailureText(int errorNumber);
// The same for a reason Qt reports as text (QFileDevice::errorString).
QString WriteFailureText(const QString& systemText);
