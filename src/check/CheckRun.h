#pragma once

#include "check/CheckSink.h"
#include "check/InputItem.h"

#include <QStringList>
#include <atomic>
#include <functional>
#include <optional>
#include <vector>

// One batch check: walks the inputs, checks files on every core while the walk goes on,
// hands each result to the sinks in input order as soon as it and all before it are done,
// then runs the checks across files. Holds a bounded window of files at any time, so
// memory does not grow with their number.
class CheckRun {
public:
    // Files checked but not yet handed on, at most; the walk waits beyond it.
    static constexpr qint64 kWindow = 256;

    explicit CheckRun(QStringList paths) : paths_(std::move(paths)) {}
    // Checks these items instead of walking paths: files already read into memory, in
    // this order (their order numbers are given by the run).
    explicit CheckRun(std::vector<InputItem> items) : items_(std::move(items)) {}

    void addSink(CheckSink* sink) { sinks_.push_back(sink); }
    // Called on the running thread after each file: files done, files in all.
    void setProgress(std::function<void(qint64, qint64)> progress) { progress_ = std::move(progress); }
    // Thread count; 0 means one per core.
    void setWorkers(int workers) { workers_ = workers; }

    // Blocks until every file is checked, or the run is cancelled.
    CheckTally run();
    // From any thread: stops handing out files; run() returns soon after.
    void cancel() { cancelled_ = true; }
    bool wasCancelled() const { return cancelled_; }

private:
    QStringList paths_;
    std::optional<std::vector<InputItem>> items_;
    std::vector<CheckSink*> sinks_;
    std::function<void(qint64, qint64)> progress_;
    int workers_ = 0;
    std::atomic<bool> cancelled_{false};
};
