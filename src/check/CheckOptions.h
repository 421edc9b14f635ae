#pragma once

#include <QString>
#include <QStringList>

// What the command line asked for.
struct CheckOptions {
    bool help = false;
    bool gui = false;
    bool quiet = false;
    QString xlsxPath;
    QString csvFolder;
    int workers = 0;      // 0: one per core
    QStringList paths;
    QString usageError;   // set when the command line cannot be understood
};
