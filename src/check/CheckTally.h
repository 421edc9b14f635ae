#pragma once

#include <QString>

// The counts a run ends with.
struct CheckTally {
    qint64 reports = 0;     // every report, and everything unreadable that may have been one
    qint64 passed = 0;
    qint64 failed = 0;
    qint64 unreadable = 0;
    qint64 unitFiles = 0;
    qint64 ignored = 0;     // neither a report nor a unit file
    qint64 passedOver = 0;  // links, devices and fifos inside archives
    qint64 findings = 0;    // of every kind, unit files and cross-file findings included

    bool allPassed() const { return findings == 0; }
    // "共 N 份报表，通过 N，未通过 N，无法读取 N", and the files passed over when there were any:
    // other files, and links or devices found in archives.
    QString closingLine() const
    {
        QString line = QStringLiteral("共 %1 份报表，通过 %2，未通过 %3，无法读取 %4").arg(reports).arg(passed).arg(failed).arg(unreadable);
        if (ignored > 0)
            line += QStringLiteral("，跳过其他文件 %1").arg(ignored);
        if (passedOver > 0)
            line += QStringLiteral("，跳过压缩包中的链接和设备文件 %1").arg(passedOver);
        return line;
    }
};
