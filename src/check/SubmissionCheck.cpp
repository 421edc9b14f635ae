#include "check/SubmissionCheck.h"

#include "check/CheckRun.h"
#include "check/CheckSink.h"
#include "check/CheckTables.h"
#include "check/DocumentSniffer.h"
#include "check/InputWalker.h"
#include "core/ReportFileNames.h"
#include "core/XmlDocumentAccess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

// Keeps, per file in input order, what the window and the manifest need of its result.
class SubmissionSink : public CheckSink {
public:
    explicit SubmissionSink(std::vector<SubmissionCheck::File>& files) : files_(files) {}

    void fileChecked(const FileResult& result) override
    {
        SubmissionCheck::File& file = files_[static_cast<size_t>(result.order)];
        file.findings = result.findings;
        // Checked as what it holds, as the bureau's checker does: a page and a role to match.
        if (result.kind == DocumentSniffer::Kind::UnitInfo)
            file.unitFile = true;
        if (result.status == FileResult::Status::Unreadable)
            file.verdict = SubmissionCheck::Verdict::Unreadable;
        if (result.report) {
            file.projectCode = result.report->projectCode;
            file.projectName = result.report->projectName;
            file.demandTotal = result.report->demandTotalText;
        }
    }

    void crossFindings(const std::vector<std::pair<qint64, CheckFinding>>& findings) override
    {
        for (const auto& [order, finding] : findings)
            files_[static_cast<size_t>(order)].findings << finding;
    }

private:
    std::vector<SubmissionCheck::File>& files_;
};

void readWhole(SubmissionCheck::File& file, InputItem& item)
{
    QFile disk(file.path);
    if (!disk.open(QIODevice::ReadOnly)) {
        file.readError = item.readError = QStringLiteral("无法打开指定文件") + file.path;
        return;
    }
    file.bytes = disk.read(InputWalker::kMaxDocumentBytes + 1);
    if (disk.error() != QFileDevice::NoError) {
        file.bytes.clear();
        file.readError = item.readError = QStringLiteral("无法读取文件：") + disk.errorString();
    } else if (file.bytes.size() > InputWalker::kMaxDocumentBytes) {
        file.bytes.clear();
        file.readError = QStringLiteral("文件超过 64 MiB，不予读取");
        item.tooLarge = true;
        disk.seek(0);
        item.bytes = disk.read(DocumentSniffer::kHeadBytes);
        return;
    }
    item.bytes = file.bytes;
}

} // namespace

SubmissionCheck SubmissionCheck::run(const QString& folder, const QString& unitCode)
{
    SubmissionCheck check;
    check.folder_ = folder;
    check.unitCode_ = unitCode;
    const QDir dir(folder);
    std::vector<InputItem> items;
    const auto add = [&](const QString& name, bool unitFile) {
        File file;
        file.path = dir.filePath(name);
        file.name = name;
        file.unitFile = unitFile;
        InputItem item;
        item.path = file.path;
        item.fileName = name;
        readWhole(file, item);
        check.files_.push_back(std::move(file));
        items.push_back(std::move(item));
    };
    for (const QString& name : dir.entryList({QStringLiteral("*.xm")}, QDir::Files, QDir::Name))
        add(name, false);
    const QString unitName = ReportFileNames::UnitInfoFileName(unitCode, QString(), false);
    if (xml::IsSafeFileNamePart(unitCode) && !unitCode.isEmpty() && QFileInfo(dir.filePath(unitName)).isFile())
        add(unitName, true);
    SubmissionSink sink(check.files_);
    CheckRun run(std::move(items));
    run.addSink(&sink);
    run.run();
    for (File& file : check.files_) {
        if (file.verdict != Verdict::Unreadable && !file.findings.isEmpty())
            file.verdict = Verdict::Failed;
    }
    return check;
}

int SubmissionCheck::failedCount() const
{
    return static_cast<int>(std::count_if(files_.cbegin(), files_.cend(), [](const File& f) {
        return f.verdict != Verdict::Passed;
    }));
}

int SubmissionCheck::failedReportCount() const
{
    return static_cast<int>(std::count_if(files_.cbegin(), files_.cend(), [](const File& f) {
        return !f.unitFile && f.verdict != Verdict::Passed;
    }));
}

int SubmissionCheck::reportCount() const
{
    return static_cast<int>(std::count_if(files_.cbegin(), files_.cend(), [](const File& f) { return !f.unitFile; }));
}

bool SubmissionCheck::hasUnitFile() const
{
    const QString standard = ReportFileNames::UnitInfoFileName(unitCode_, QString(), false);
    return std::any_of(files_.cbegin(), files_.cend(), [&](const File& f) { return f.unitFile && f.name == standard; });
}

QString SubmissionCheck::verdictText(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Passed:
        return CheckTables::passedText();
    case Verdict::Failed:
        return CheckTables::failedText();
    case Verdict::Unreadable:
        return QStringLiteral("无法读取");
    }
    return {};
}

QString SubmissionCheck::verdictName(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Passed:
        return QStringLiteral("passed");
    case Verdict::Failed:
        return QStringLiteral("failed");
    case Verdict::Unreadable:
        return QStringLiteral("unreadable");
    }
    return {};
}
