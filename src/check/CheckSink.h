#pragma once

#include "check/CheckFinding.h"
#include "check/CheckTally.h"
#include "check/FileResult.h"

#include <utility>
#include <vector>

// Receives a run's results on the thread that runs it, in input order.
class CheckSink {
public:
    virtual ~CheckSink() = default;

    virtual void fileChecked(const FileResult& result) = 0;
    // Findings across files, once every file is checked; with the order of their report.
    virtual void crossFindings(const std::vector<std::pair<qint64, CheckFinding>>& findings) { Q_UNUSED(findings); }
    virtual void finished(const CheckTally& tally) { Q_UNUSED(tally); }
};
