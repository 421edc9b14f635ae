#include "check/SubmissionPackage.h"

#include "Version.h"
#include "check/SubmissionCheck.h"
#include "core/AtomicFileWriter.h"
#include "core/ReportFileNames.h"
#include "core/ReportPage.h"
#include "core/XmlDocumentAccess.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QIODevice>
#include <QSet>

#include <archive.h>
#include <archive_entry.h>
#include <cerrno>
#include <locale.h>
#include <memory>

namespace {

// Names in a file name of its own, on every system the package may be opened on.
QString fileNamePart(const QString& text)
{
    QString part;
    for (const QChar c : xml::TrimSpaces(text)) {
        // A dot is fine inside a name; alone it would be refused as "." itself.
        part += c == QLatin1Char('.') || xml::IsSafeFileNamePart(QString(c)) ? c : QLatin1Char('_');
    }
    // Windows drops dots and spaces at the end of a name.
    while (part.endsWith(QLatin1Char('.')) || part.endsWith(QLatin1Char(' ')))
        part.chop(1);
    // Well inside the 255 bytes a name may have, in UTF-8, and never half a character.
    const qsizetype length = part.size() > 60 && part.at(59).isHighSurrogate() ? 59 : 60;
    return part.left(length);
}

struct Entry {
    QString name;
    QByteArray bytes;
    QDateTime modified;
};

struct ArchiveWriteDeleter {
    void operator()(archive* a) const { archive_write_free(a); }
};

la_ssize_t writeToDevice(archive* a, void* device, const void* buffer, size_t length)
{
    const qint64 written = static_cast<QIODevice*>(device)->write(static_cast<const char*>(buffer),
                                                                   static_cast<qint64>(length));
    if (written != static_cast<qint64>(length)) {
        archive_set_error(a, EIO, "write failed");
        return -1;
    }
    return static_cast<la_ssize_t>(length);
}

// Entry names go into the zip as UTF-8, marked as such, whatever the user's locale.
class Utf8Names {
public:
    Utf8Names()
    {
        static const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
        if (utf8)
            previous_ = uselocale(utf8);
    }
    ~Utf8Names()
    {
        if (previous_)
            uselocale(previous_);
    }
    Utf8Names(const Utf8Names&) = delete;
    Utf8Names& operator=(const Utf8Names&) = delete;

private:
    locale_t previous_ = nullptr;
};

bool writeZip(QIODevice& device, const std::vector<Entry>& entries)
{
    const Utf8Names names;
    std::unique_ptr<archive, ArchiveWriteDeleter> zip(archive_write_new());
    if (archive_write_set_format_zip(zip.get()) != ARCHIVE_OK
        || archive_write_set_options(zip.get(), "zip:hdrcharset=UTF-8,zip:compression=deflate") != ARCHIVE_OK
        || archive_write_open(zip.get(), &device, nullptr, writeToDevice, nullptr) != ARCHIVE_OK)
        return false;
    for (const Entry& file : entries) {
        std::unique_ptr<archive_entry, decltype(&archive_entry_free)> entry(archive_entry_new(), archive_entry_free);
        const QByteArray name = file.name.toUtf8();
        archive_entry_set_pathname_utf8(entry.get(), name.constData());
        archive_entry_set_filetype(entry.get(), AE_IFREG);
        archive_entry_set_perm(entry.get(), 0644);
        archive_entry_set_size(entry.get(), file.bytes.size());
        archive_entry_set_mtime(entry.get(), file.modified.toSecsSinceEpoch(), 0);
        if (archive_write_header(zip.get(), entry.get()) != ARCHIVE_OK
            || archive_write_data(zip.get(), file.bytes.constData(), static_cast<size_t>(file.bytes.size()))
                   != file.bytes.size())
            return false;
    }
    return archive_write_close(zip.get()) == ARCHIVE_OK;
}

QByteArray sha256(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

// The page of a checked file, made from the bytes that were checked; empty with the
// reason when it cannot be made.
QByteArray pageOf(const SubmissionCheck::File& file, const QString& stylesheet, QString* error)
{
    QString loadError;
    const xml::XmlDocumentPtr document = xml::ParseXmlBytes(file.bytes, file.path, loadError);
    const ReportPage page = RenderReportPage(document, stylesheet);
    if (page.failure == ReportPage::Failure::StylesheetUnreadable)
        *error = QStringLiteral("输出模板文件错误，请重新安装");
    else if (!page.ok() || page.html.isEmpty())
        *error = QStringLiteral("未能进行成功的数据转换：") + file.name;
    return page.ok() ? page.html : QByteArray();
}

} // namespace

QString SubmissionPackage::proposedFileName(const QString& unitCode, const QString& unitName, const QDate& date)
{
    QStringList parts{fileNamePart(unitCode)};
    if (const QString name = fileNamePart(unitName); !name.isEmpty())
        parts << name;
    parts << date.toString(QStringLiteral("yyyyMMdd"));
    return parts.join(QLatin1Char('_')) + QStringLiteral(".zip");
}

bool SubmissionPackage::write(const SubmissionCheck& checked, const QString& zipPath, const Details& details,
                              QString* error)
{
    if (checked.files().empty()) {
        *error = QStringLiteral("本地文件夹中没有报表或单位信息文件，无法生成报送包");
        return false;
    }
    const QDir program(details.programFolder);
    const QDateTime now = QDateTime::currentDateTime();
    SubmissionManifest manifest;
    manifest.unitCode = details.unitCode;
    manifest.unitName = details.unitName;
    manifest.date = details.date;
    manifest.programVersion = QStringLiteral(VANTREL_VERSION);
    std::vector<Entry> entries;
    const auto add = [&](Entry entry, SubmissionManifest::File listed) {
        listed.path = entry.name;
        listed.size = entry.bytes.size();
        listed.sha256 = sha256(entry.bytes);
        manifest.files.push_back(std::move(listed));
        entries.push_back(std::move(entry));
    };
    for (const SubmissionCheck::File& file : checked.files()) {
        if (!file.readError.isEmpty()) {
            *error = file.path + QStringLiteral("：") + file.readError
                   + QStringLiteral("。请把这个文件移出本地文件夹后再打包。");
            return false;
        }
        SubmissionManifest::File listed;
        listed.role = file.unitFile ? QStringLiteral("unit") : QStringLiteral("report");
        listed.projectCode = file.projectCode;
        listed.verdict = SubmissionCheck::verdictName(file.verdict);
        listed.demandTotal = file.demandTotal;
        add(Entry{file.name, file.bytes, QFileInfo(file.path).lastModified()}, listed);
        // A file that cannot be read has no page; the bureau sees why in its verdict.
        if (file.verdict == SubmissionCheck::Verdict::Unreadable)
            continue;
        const QString stylesheet = program.filePath(file.unitFile ? QStringLiteral("corpinfo.tps") : QStringLiteral("report1.tps"));
        const QByteArray page = pageOf(file, stylesheet, error);
        if (page.isEmpty())
            return false;
        const QString pageName = ReportFileNames::PrintPageName(file.name);
        SubmissionManifest::File pageListed;
        pageListed.role = QStringLiteral("page");
        add(Entry{pageName, page, now}, pageListed);
    }
    // Two entries of one name: the bureau's checker would find the package not as listed.
    // Only a report named like a page of another (410101.xm beside 410101.dw) comes to it.
    QSet<QString> names;
    for (const Entry& entry : entries) {
        if (names.contains(entry.name)) {
            *error = QStringLiteral("本地文件夹中有两个文件的页面都叫“%1”。请把不是标准文件名的报表改名后再打包。")
                         .arg(entry.name);
            return false;
        }
        names.insert(entry.name);
    }
    // First, so that the bureau's checker holds every later entry against it as it streams past.
    entries.insert(entries.begin(), Entry{SubmissionManifest::fileName(), manifest.toXml(), now});

    QString reason;
    if (!AtomicFileWriter::write(zipPath, [&](QIODevice& device) { return writeZip(device, entries); }, &reason)) {
        *error = QStringLiteral("无法写入文件") + zipPath + QStringLiteral("：") + reason;
        return false;
    }
    return true;
}
