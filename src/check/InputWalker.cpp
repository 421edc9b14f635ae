#include "check/InputWalker.h"

#include "check/DocumentSniffer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <archive.h>
#include <archive_entry.h>
#include <memory>

namespace {

struct ArchiveDeleter {
    void operator()(archive* a) const { archive_read_free(a); }
};
using ArchivePtr = std::unique_ptr<archive, ArchiveDeleter>;

QByteArray readHead(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.read(DocumentSniffer::kHeadBytes);
}

// Only the formats a unit sends its files in; nothing that runs external programs.
ArchivePtr openArchive(const QString& path)
{
    ArchivePtr a(archive_read_new());
    archive_read_support_format_zip(a.get());
    archive_read_support_format_7zip(a.get());
    archive_read_support_format_tar(a.get());
    archive_read_support_format_gnutar(a.get());
    archive_read_support_filter_gzip(a.get());
    archive_read_support_filter_bzip2(a.get());
    archive_read_support_filter_xz(a.get());
    const QByteArray name = QFile::encodeName(path);
    if (archive_read_open_filename(a.get(), name.constData(), 64 * 1024) != ARCHIVE_OK)
        return ArchivePtr(a.release()); // the caller reads the error from it
    return a;
}

QString archiveError(archive* a)
{
    const char* text = archive_error_string(a);
    return text ? QString::fromUtf8(text) : QStringLiteral("无法读取压缩包");
}

QString entryName(archive_entry* entry)
{
    if (const char* utf8 = archive_entry_pathname_utf8(entry))
        return QString::fromUtf8(utf8);
    const char* raw = archive_entry_pathname(entry);
    return raw ? QString::fromLocal8Bit(raw) : QString();
}

// Every file below a folder in plain name order at every level, so the walk is the same
// on every run; one folder's listing is held at a time. Linked folders are not followed
// (they could loop).
void visitFolder(const QString& folder, const std::function<bool(const QString&)>& visit, bool& going)
{
    const QFileInfoList entries = QDir(folder).entryInfoList(
        QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    for (const QFileInfo& info : entries) {
        if (!going)
            return;
        if (info.isDir()) {
            if (!info.isSymLink())
                visitFolder(info.filePath(), visit, going);
        } else {
            going = visit(info.filePath());
        }
    }
}

void visitDiskFiles(const QStringList& paths, const std::function<bool(const QString&)>& visit)
{
    bool going = true;
    for (const QString& path : paths) {
        const QFileInfo info(path);
        if (info.isDir())
            visitFolder(path, visit, going);
        else if (info.exists())
            going = visit(path);
        if (!going)
            return;
    }
}

// Reads the current entry into memory up to the size limit; the rest is skipped unread.
void readEntry(archive* a, archive_entry* entry, InputItem& item)
{
    const qint64 declared = archive_entry_size_is_set(entry) ? archive_entry_size(entry) : -1;
    if (declared > InputWalker::kMaxDocumentBytes) {
        item.tooLarge = true;
        item.bytes.resize(DocumentSniffer::kHeadBytes);
        const la_ssize_t got = archive_read_data(a, item.bytes.data(), static_cast<size_t>(item.bytes.size()));
        item.bytes.resize(got > 0 ? got : 0);
        return;
    }
    if (declared > 0)
        item.bytes.reserve(declared);
    char buffer[64 * 1024];
    for (;;) {
        const la_ssize_t got = archive_read_data(a, buffer, sizeof buffer);
        if (got < 0) {
            item.readError = archiveError(a);
            item.bytes.clear();
            return;
        }
        if (got == 0)
            return;
        item.bytes.append(buffer, got);
        if (item.bytes.size() > InputWalker::kMaxDocumentBytes) {
            item.tooLarge = true;
            item.bytes.truncate(DocumentSniffer::kHeadBytes);
            return;
        }
    }
}

// Reports, unit files and pages are never archives: their heads need not be read twice.
bool isArchive(const QString& file)
{
    for (const char* plain : {".xm", ".dw", ".htm", ".html", ".xml", ".tpl", ".pz"}) {
        if (file.endsWith(QLatin1String(plain), Qt::CaseInsensitive))
            return false;
    }
    return InputWalker::looksLikeArchive(readHead(file));
}

} // namespace

bool InputWalker::looksLikeArchive(const QByteArray& head)
{
    return head.startsWith("PK\x03\x04") || head.startsWith("PK\x05\x06")     // zip, empty zip
        || head.startsWith(QByteArray("7z\xBC\xAF\x27\x1C", 6))                 // 7z
        || head.startsWith("\x1F\x8B") || head.startsWith("BZh")               // gzip, bzip2
        || head.startsWith(QByteArray("\xFD" "7zXZ\x00", 6))                   // xz
        || head.mid(257, 5) == "ustar";                                        // tar
}

QStringList InputWalker::missingPaths() const
{
    QStringList missing;
    for (const QString& path : paths_) {
        if (!QFileInfo::exists(path))
            missing << path;
    }
    return missing;
}

qint64 InputWalker::countItems() const
{
    qint64 count = 0;
    visitDiskFiles(paths_, [&](const QString& file) {
        if (!isArchive(file)) {
            ++count;
            return true;
        }
        ArchivePtr a = openArchive(file);
        archive_entry* entry = nullptr;
        int status = ARCHIVE_OK;
        while ((status = archive_read_next_header(a.get(), &entry)) == ARCHIVE_OK
               || status == ARCHIVE_WARN) {
            if (archive_entry_filetype(entry) == AE_IFREG)
                ++count;
            archive_read_data_skip(a.get());
        }
        if (status != ARCHIVE_EOF)
            ++count; // the archive's own failure is an item too
        return true;
    });
    return count;
}

void InputWalker::walk(const std::function<bool(InputItem&&)>& take) const
{
    qint64 order = 0;
    visitDiskFiles(paths_, [&](const QString& file) {
        if (!isArchive(file)) {
            InputItem item;
            item.order = order++;
            item.path = file;
            item.diskPath = file;
            item.fileName = QFileInfo(file).fileName();
            return take(std::move(item));
        }
        ArchivePtr a = openArchive(file);
        archive_entry* entry = nullptr;
        int status = ARCHIVE_OK;
        while ((status = archive_read_next_header(a.get(), &entry)) == ARCHIVE_OK || status == ARCHIVE_WARN) {
            if (archive_entry_filetype(entry) != AE_IFREG) {
                archive_read_data_skip(a.get());
                continue;
            }
            // The entry's name is only shown; nothing is ever written under it.
            InputItem item;
            item.order = order++;
            const QString name = entryName(entry);
            item.path = file + QLatin1Char(':') + name;
            item.fileName = name.section(QLatin1Char('/'), -1);
            readEntry(a.get(), entry, item);
            if (!take(std::move(item)))
                return false;
        }
        if (status != ARCHIVE_EOF) {
            InputItem item;
            item.order = order++;
            item.path = file;
            item.fileName = QFileInfo(file).fileName();
            item.readError = archiveError(a.get());
            return take(std::move(item));
        }
        return true;
    });
}
