#include "check/TerminalSink.h"

TerminalSink::TerminalSink(FILE* out, FILE* progressStream, bool quiet)
    : out_(out), quiet_(quiet)
{
    if (progressStream && !quiet)
        progress_ = std::make_unique<ProgressLine>(progressStream);
}

QString TerminalSink::findingLine(const CheckFinding& finding)
{
    QString line = finding.path + QStringLiteral("：") + finding.kind + QStringLiteral("：") + finding.message;
    // Names and values come from the files: a line break would split the finding, an
    // escape sequence would drive the terminal.
    for (QChar& c : line) {
        if (c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() < 0xA0))
            c = QChar::ReplacementCharacter;
    }
    return line;
}

void TerminalSink::progress(qint64 done, qint64 total)
{
    if (progress_)
        progress_->update(done, total);
}

void TerminalSink::print(const CheckFinding& finding)
{
    if (quiet_)
        return;
    if (progress_)
        progress_->clear();
    const QByteArray line = findingLine(finding).toUtf8() + '\n';
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), out_);
}

void TerminalSink::fileChecked(const FileResult& result)
{
    for (const CheckFinding& finding : result.findings)
        print(finding);
}

void TerminalSink::crossFindings(const std::vector<std::pair<qint64, CheckFinding>>& findings)
{
    for (const auto& [order, finding] : findings)
        print(finding);
}

void TerminalSink::finished(const CheckTally& tally)
{
    if (progress_)
        progress_->clear();
    const QByteArray line = tally.closingLine().toUtf8() + '\n';
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), out_);
    std::fflush(out_);
}
