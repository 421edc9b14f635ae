#pragma once

#include <QByteArray>
#include <QString>

// Converts between UTF-16 text and a named charset with the system's iconv, so tests can
// write and read files in GB2312, GBK, GB18030 or UTF-16 exactly as other programs do.
QByteArray encodeAs(const QString& text, const char* charset);
QString decodeFrom(const QByteArray& bytes, const char* charset);
