#include "check/CheckRun.h"

#include "check/CrossFileChecks.h"
#include "check/FileChecker.h"
#include "check/InputWalker.h"

#include <QSet>
#include <QThread>

#include <condition_variable>
#include <deque>
#include <optional>
#include <mutex>
#include <thread>

#include <libxml/parser.h>

namespace {

// The hand-over between the walk, the checking threads and the thread that runs the
// batch. The walk may run ahead of delivery by the window, no further.
class Pipeline {
public:
    explicit Pipeline(const std::atomic<bool>& cancelled) : cancelled_(cancelled), results_(CheckRun::kWindow) {}

    bool push(InputItem&& item)
    {
        std::unique_lock lock(mutex_);
        if (item.order >= delivered_ + CheckRun::kWindow) {
            // Full: wait for room for a batch, not for every file, so the walk wakes seldom.
            resumeAt_ = item.order - CheckRun::kWindow + kBatch;
            waitUntil(room_, lock, [&] { return cancelled_ || delivered_ >= resumeAt_; });
        }
        if (cancelled_)
            return false;
        queue_.push_back(std::move(item));
        work_.notify_one();
        return true;
    }

    void walkDone(qint64 total)
    {
        std::lock_guard lock(mutex_);
        walked_ = total;
        work_.notify_all();
        // What is checked by now would otherwise wait for a batch that never fills.
        result_.notify_all();
    }

    // Next item to check, or nothing when the walk is over and the queue empty.
    std::optional<InputItem> take()
    {
        std::unique_lock lock(mutex_);
        waitUntil(work_, lock, [&] { return cancelled_ || !queue_.empty() || walked_ >= 0; });
        if (cancelled_ || queue_.empty())
            return std::nullopt;
        InputItem item = std::move(queue_.front());
        queue_.pop_front();
        return item;
    }

    void done(FileResult&& result)
    {
        std::lock_guard lock(mutex_);
        slot(result.order).emplace(std::move(result));
        // Delivery wakes for a batch of results in order, or for the last ones.
        if (readyInOrder() >= kBatch || (walked_ >= 0 && delivered_ + readyInOrder() >= walked_))
            result_.notify_one();
    }

    // The next result in order, or nothing when every item has been delivered.
    std::optional<FileResult> next()
    {
        std::unique_lock lock(mutex_);
        waitUntil(result_, lock, [&] {
            return cancelled_ || slot(delivered_) || (walked_ >= 0 && delivered_ >= walked_);
        });
        std::optional<FileResult>& found = slot(delivered_);
        if (cancelled_ || !found)
            return std::nullopt;
        std::optional<FileResult> result = std::move(found);
        found.reset();
        ++delivered_;
        if (delivered_ == resumeAt_)
            room_.notify_one();
        return result;
    }

    void wake()
    {
        std::lock_guard lock(mutex_);
        room_.notify_all();
        work_.notify_all();
        result_.notify_all();
    }

private:
    // Hand-overs wake the other side once for this many files.
    static constexpr qint64 kBatch = 32;

    // How many results from the next one to deliver are there, in order, up to a batch.
    qint64 readyInOrder() const
    {
        qint64 ready = 0;
        while (ready < kBatch && slot(delivered_ + ready))
            ++ready;
        return ready;
    }

    // The walk never runs a window ahead of delivery, so every result waiting has a
    // slot of its own: no allocation per file.
    std::optional<FileResult>& slot(qint64 order) { return results_[static_cast<size_t>(order % CheckRun::kWindow)]; }
    const std::optional<FileResult>& slot(qint64 order) const
    {
        return results_[static_cast<size_t>(order % CheckRun::kWindow)];
    }

    // A cancel comes from another thread without a notification: look at it now and then.
    template <typename Predicate>
    static void waitUntil(std::condition_variable& condition, std::unique_lock<std::mutex>& lock, Predicate ready)
    {
        while (!ready())
            condition.wait_for(lock, std::chrono::milliseconds(100));
    }

    const std::atomic<bool>& cancelled_;
    std::mutex mutex_;
    std::condition_variable room_;   // the walk waits for the window to move
    std::condition_variable work_;   // checking threads wait for items
    std::condition_variable result_; // delivery waits for the next result in order
    std::deque<InputItem> queue_;
    std::vector<std::optional<FileResult>> results_;
    qint64 delivered_ = 0;
    qint64 walked_ = -1; // number of items once the walk is over
    qint64 resumeAt_ = -1; // the walk waits until this many are delivered
};

bool isUnit(const FileResult& result)
{
    return result.kind == DocumentSniffer::Kind::UnitInfo;
}

} // namespace

CheckTally CheckRun::run()
{
    // libxml2 sets up its globals once, before any thread parses.
    xmlInitParser();
    const InputWalker walker(paths_);
    // Counting walks every input once more before the first file is read; only a
    // progress display needs the total.
    const qint64 total = !progress_ ? 0 : items_ ? static_cast<qint64>(items_->size()) : walker.countItems();

    Pipeline pipeline(cancelled_);
    std::thread walking([&] {
        qint64 walked = 0;
        const auto push = [&](InputItem&& item) {
            item.order = walked++;
            return pipeline.push(std::move(item));
        };
        if (items_) {
            for (InputItem& item : *items_) {
                if (!push(std::move(item)))
                    break;
            }
            items_.reset();
        } else {
            walker.walk(push);
        }
        pipeline.walkDone(walked);
    });
    const int count = workers_ > 0 ? workers_ : std::max(1, QThread::idealThreadCount());
    std::vector<std::thread> checking;
    for (int i = 0; i < count; ++i) {
        checking.emplace_back([&] {
            while (auto item = pipeline.take())
                pipeline.done(FileChecker::check(*item));
        });
    }

    CheckTally tally;
    CrossFileChecks cross;
    QSet<qint64> failedReports;
    qint64 done = 0;
    while (auto result = pipeline.next()) {
        ++done;
        tally.findings += result->findings.size();
        switch (result->status) {
        case FileResult::Status::Ignored:
            ++tally.ignored;
            break;
        case FileResult::Status::PassedOver:
            ++tally.passedOver;
            break;
        case FileResult::Status::Manifest:
            break;
        case FileResult::Status::Unreadable:
            if (isUnit(*result))
                ++tally.unitFiles;
            else
                ++tally.unreadable;
            break;
        case FileResult::Status::Checked:
            if (result->report) {
                const CrossFileChecks::Added added = cross.addReport(result->order, result->path, *result->report);
                result->copyOfEarlier = added.copy;
                result->crossFindingSoFar = added.findingSoFar;
                if (!result->findings.isEmpty())
                    failedReports.insert(result->order);
            } else if (result->unit) {
                ++tally.unitFiles;
                cross.addUnit(result->order, result->path, *result->unit);
            }
            break;
        }
        if (result->report)
            ++tally.reports;
        for (CheckSink* sink : sinks_)
            sink->fileChecked(*result);
        if (progress_)
            progress_(done, std::max(done, total));
    }
    pipeline.wake();
    walking.join();
    for (std::thread& t : checking)
        t.join();

    if (cancelled_)
        return tally;
    const auto crossFound = cross.findings();
    for (const auto& [order, finding] : crossFound) {
        if (!cross.isUnitFile(order))
            failedReports.insert(order);
    }
    tally.findings += static_cast<qint64>(crossFound.size());
    tally.failed = failedReports.size();
    tally.passed = tally.reports - tally.failed;
    tally.reports += tally.unreadable;
    for (CheckSink* sink : sinks_) {
        sink->crossFindings(crossFound);
        sink->finished(tally);
    }
    return tally;
}
