#include "check/WindowCheckSink.h"

#include <QMetaObject>

void WindowCheckSink::post(std::function<void()> call)
{
    QMetaObject::invokeMethod(window_, std::move(call), Qt::QueuedConnection);
}

void WindowCheckSink::progress(qint64 done, qint64 total)
{
    // A window needs no more than a thousand steps.
    const int permille = total > 0 ? static_cast<int>(1000 * done / total) : 0;
    if (permille == lastPermille_ && done != total)
        return;
    lastPermille_ = permille;
    post([h = handlers_.progress, done, total] { h(done, total); });
}

void WindowCheckSink::fileChecked(const FileResult& result)
{
    if (!result.findings.isEmpty())
        post([h = handlers_.findings, findings = result.findings] { h(findings); });
}

void WindowCheckSink::crossFindings(const std::vector<std::pair<qint64, CheckFinding>>& findings)
{
    QList<CheckFinding> list;
    for (const auto& [order, finding] : findings)
        list << finding;
    post([h = handlers_.findings, list] { h(list); });
}

void WindowCheckSink::finished(const CheckTally& tally)
{
    post([h = handlers_.finished, tally] { h(tally); });
}
