#pragma once

#include "check/CheckSink.h"
#include "check/FileLocation.h"

#include <QHash>
#include <QPointer>
#include <functional>

class QObject;

// Carries a run's findings (with where each file is), progress and end from the checking
// thread to a window: each is queued to the window's thread and dropped if the window is
// gone.
class WindowCheckSink : public CheckSink {
public:
    struct Handlers {
        std::function<void(const QList<CheckFinding>&, const QList<FileLocation>&)> findings;
        std::function<void(qint64, qint64)> progress;
        std::function<void(const CheckTally&)> finished;
    };

    WindowCheckSink(QObject* window, Handlers handlers) : window_(window), handlers_(std::move(handlers)) {}

    void progress(qint64 done, qint64 total);
    void fileChecked(const FileResult& result) override;
    void crossFindings(const std::vector<std::pair<qint64, CheckFinding>>& findings) override;
    void finished(const CheckTally& tally) override;

private:
    void post(std::function<void()> call);

    QObject* window_;
    Handlers handlers_;
    int lastPermille_ = -1;
    // Reports and unit files by path, for the findings across files, which name only paths.
    QHash<QString, FileLocation> locations_;
};
