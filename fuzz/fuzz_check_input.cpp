// Any bytes as the bureau's batch checker is handed them: as one file, read by the check the
// batch applies (as a report and as a unit file), and as an archive on disk, walked to its
// last entry at every depth with each entry checked in turn.
#include "FuzzSupport.h"
#include "check/FileChecker.h"
#include "check/InputWalker.h"
#include "check/PackageVerifier.h"

#include <libxml/parser.h>

#include <algorithm>

namespace {

// What the archive walk may unpack per input: the bound itself is what is fuzzed, and a
// gigabyte per input would make each run take seconds.
constexpr qint64 kAllowance = 64 * 1024 * 1024;

bool hasChinese(const QString& text)
{
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF; });
}

// Every finding names its file and kind; a file that cannot be read says why, in Chinese.
void checkResult(const InputItem& item, const FileResult& result)
{
    if (result.order != item.order || result.path != item.path)
        fuzz::fail("a result that is not its item's", item.path);
    for (const CheckFinding& finding : result.findings) {
        if (finding.path.isEmpty() || finding.kind.isEmpty() || finding.message.isEmpty())
            fuzz::fail("a finding without its file, kind or message", finding.path + finding.kind);
        if (!hasChinese(finding.message))
            fuzz::fail("a finding a clerk cannot read", finding.message);
    }
    if (result.status == FileResult::Status::Unreadable && result.findings.isEmpty())
        fuzz::fail("an unreadable file without a reason", item.path);
    if (result.status == FileResult::Status::Manifest) {
        for (const CheckFinding& finding : result.findings) {
            if (finding.kind != PackageVerifier::kind())
                fuzz::fail("a manifest finding of another kind", finding.kind);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool initialised = [] {
        xmlInitParser();
        return true;
    }();
    Q_UNUSED(initialised);
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    for (const QString& name : {QStringLiteral("qzrt_410101_A01.xm"), QStringLiteral("410101.dw")}) {
        InputItem item;
        item.path = item.fileName = name;
        item.bytes = bytes;
        checkResult(item, FileChecker::check(item));
    }

    const QString archive = fuzz::scratchFolder() + QStringLiteral("input.zip");
    if (!fuzz::writeFile(archive, bytes.constData(), static_cast<size_t>(bytes.size())))
        fuzz::fail("cannot write the scratch file");
    qint64 next = 0;
    InputWalker({archive}, kAllowance).walk([&](InputItem&& item) {
        if (item.order != next++)
            fuzz::fail("items out of order", item.path);
        if (!item.path.startsWith(archive))
            fuzz::fail("an item outside its archive", item.path);
        if (item.entryIndexes.size() > InputWalker::kMaxArchiveDepth)
            fuzz::fail("an archive opened beyond the depth", item.path);
        if (item.bytes.size() > InputWalker::kMaxDocumentBytes)
            fuzz::fail("an entry held beyond the size limit", item.path);
        if (!item.readError.isEmpty() && !hasChinese(item.readError))
            fuzz::fail("a read error a clerk cannot read", item.readError);
        checkResult(item, FileChecker::check(item));
        return true;
    });
    return 0;
}
