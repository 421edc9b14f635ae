#pragma once

#include <QElapsedTimer>
#include <QString>
#include <cstdio>

// A one-line progress bar on a terminal: files done of all, and the rate. Redrawn at
// most ten times a second; cleared before other output and at the end.
class ProgressLine {
public:
    explicit ProgressLine(FILE* stream);

    void update(qint64 done, qint64 total);
    void clear();
    // The line for a count, without the terminal's carriage return.
    static QString text(qint64 done, qint64 total, double perSecond, int barWidth = 30);

private:
    FILE* stream_;
    QElapsedTimer started_;
    qint64 lastDrawn_ = -1000;
    bool shown_ = false;
};
