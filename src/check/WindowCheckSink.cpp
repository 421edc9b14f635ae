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
    const FileLocation location{result.diskPath, result.archivePath, result.entryIndexes, result.report.has_value()};
    if (result.report || result.unit)
        locations_.insert(result.path, location);
    if (result.findings.isEmpty())
        return;
    // A file's own findings are of the file; a manifest's are of the files it lists.
    QList<FileLocation> locations;
    for (const CheckFinding& finding : result.findings)
        locations << (finding.path == result.path ? location : FileLocation());
    post([h = handlers_.findings, findings = result.findings, locations] { h(findings, locations); });
}

void WindowCheckSink::crossFindings(const std::vector<std::pair<qint64, CheckFinding>>& findings)
{
    QList<CheckFinding> list;
    QList<FileLocation> locations;
    for (const auto& [order, finding] : findings) {
        list << finding;
        locations << locations_.value(finding.path);
    }
    post([h = handlers_.findings, list, locations] { h(list, locations); });
}

void WindowCheckSink::finished(const CheckTally& tally)
{
    post([h = handlers_.finished, tally] { h(tally); });
}
