#pragma once

#include "check/CheckSink.h"
#include "check/ProgressLine.h"

#include <cstdio>
#include <memory>

// Prints the findings in Chinese as they come, one line each ("file：kind：message"),
// and the closing line with the counts; keeps a progress bar on a terminal.
class TerminalSink : public CheckSink {
public:
    TerminalSink(FILE* out, FILE* progressStream, bool quiet);

    void progress(qint64 done, qint64 total);
    // False when quiet or when standard error is not a terminal.
    bool showsProgress() const { return progress_ != nullptr; }
    void fileChecked(const FileResult& result) override;
    void crossFindings(const std::vector<std::pair<qint64, CheckFinding>>& findings) override;
    void finished(const CheckTally& tally) override;

    // One line, whatever the file names and values hold.
    static QString findingLine(const CheckFinding& finding);

private:
    void print(const CheckFinding& finding);

    FILE* out_;
    bool quiet_;
    std::unique_ptr<ProgressLine> progress_;
};
