#include "check/ArchiveReader.h"

#include <QFile>
#include <QStringDecoder>

#include <archive.h>
#include <archive_entry.h>

namespace {

locale_t utf8Locale()
{
    static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    return locale;
}

struct Cause {
    const char* english; // found in libarchive's text, any case
    const char* chinese;
    bool damaged;        // the archive is broken, rather than made in a way we cannot read
};

// libarchive's texts for the failures a clerk meets; the first that matches names the cause.
constexpr Cause kCauses[] = {
    {"truncated", "文件不完整，可能没有下载或复制完", true},
    {"premature end", "文件不完整，可能没有下载或复制完", true},
    {"no progress is possible", "文件不完整，可能没有下载或复制完", true}, // xz cut short
    {"crc", "校验值不符，内容已损坏", true},
    {"decompression failed", "压缩的数据不完整或已损坏", true},
    {"checksum", "校验值不符，内容已损坏", true},
    {"encrypt", "内容已加密", false},
    {"passphrase", "内容已加密", false},
    {"unsupported", "使用了不支持的压缩方法", false},
    {"unrecognized archive format", "不是能识别的压缩包格式", true},
    {"damaged", "结构已损坏", true},
    {"invalid", "结构已损坏", true},
};

} // namespace

ArchiveReader::ArchiveReader()
{
    if (utf8Locale())
        previousLocale_ = uselocale(utf8Locale());
    archive_ = archive_read_new();
    archive_read_support_format_zip(archive_);
    archive_read_support_format_7zip(archive_);
    archive_read_support_format_tar(archive_);
    archive_read_support_format_gnutar(archive_);
    archive_read_support_filter_gzip(archive_);
    archive_read_support_filter_bzip2(archive_);
    archive_read_support_filter_xz(archive_);
}

ArchiveReader::~ArchiveReader()
{
    archive_read_free(archive_);
    if (previousLocale_)
        uselocale(previousLocale_);
}

std::unique_ptr<ArchiveReader> ArchiveReader::openFile(const QString& path)
{
    std::unique_ptr<ArchiveReader> reader(new ArchiveReader);
    const QByteArray name = QFile::encodeName(path);
    reader->open(archive_read_open_filename(reader->archive_, name.constData(), 64 * 1024));
    return reader;
}

std::unique_ptr<ArchiveReader> ArchiveReader::openBytes(const QByteArray& bytes)
{
    std::unique_ptr<ArchiveReader> reader(new ArchiveReader);
    reader->open(archive_read_open_memory(reader->archive_, bytes.constData(), static_cast<size_t>(bytes.size())));
    return reader;
}

bool ArchiveReader::open(int status)
{
    if (status != ARCHIVE_OK)
        fail();
    return status == ARCHIVE_OK;
}

void ArchiveReader::fail()
{
    const char* text = archive_error_string(archive_);
    const QString english = text ? QString::fromUtf8(text) : QString();
    noArchiveFormat_ = english.contains(QLatin1String("unrecognized archive format"), Qt::CaseInsensitive);
    failure_ = failureText(english);
}

bool ArchiveReader::next()
{
    if (entryFailed_) {
        entryFailed_ = false;
        failure_.clear();
    }
    if (failed())
        return false;
    archive_entry* entry = nullptr;
    const int status = archive_read_next_header(archive_, &entry);
    if (status == ARCHIVE_EOF)
        return false;
    if (status != ARCHIVE_OK && status != ARCHIVE_WARN) {
        fail();
        return false;
    }
    const char* raw = archive_entry_pathname(entry);
    name_ = raw ? decodeName(QByteArray(raw)) : QString();
    switch (archive_entry_filetype(entry)) {
    case AE_IFREG:
        type_ = archive_entry_hardlink(entry) ? EntryType::Special : EntryType::File;
        break;
    case AE_IFDIR:
        type_ = EntryType::Folder;
        break;
    default:
        type_ = EntryType::Special;
        break;
    }
    declaredSize_ = archive_entry_size_is_set(entry) ? archive_entry_size(entry) : -1;
    return true;
}

qint64 ArchiveReader::read(char* buffer, qint64 wanted)
{
    const la_ssize_t got = archive_read_data(archive_, buffer, static_cast<size_t>(wanted));
    if (got < 0) {
        fail();
        // WARN and FAILED are this entry's (a bad checksum, an encrypted entry): the next
        // header still reads. FATAL leaves nothing more to read, which the finding says.
        entryFailed_ = got == ARCHIVE_WARN || got == ARCHIVE_FAILED;
        endedInEntry_ = !entryFailed_;
        if (endedInEntry_)
            failure_ += QStringLiteral("；压缩包从这里起无法再读取");
        return -1;
    }
    return got;
}

QString ArchiveReader::decodeName(const QByteArray& raw)
{
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString name = utf8(raw);
    if (!utf8.hasError())
        return name;
    QStringDecoder gb18030("GB18030");
    if (gb18030.isValid()) {
        const QString chinese = gb18030(raw);
        if (!gb18030.hasError())
            return chinese;
    }
    return name; // neither: shown with replacement characters
}

QString ArchiveReader::failureText(const QString& libarchiveText)
{
    const QString english = libarchiveText.simplified();
    for (const Cause& cause : kCauses) {
        if (english.contains(QLatin1String(cause.english), Qt::CaseInsensitive)) {
            return (cause.damaged ? QStringLiteral("压缩包已损坏：") : QStringLiteral("压缩包无法读取："))
                 + QString::fromUtf8(cause.chinese) + QStringLiteral("（") + english + QStringLiteral("）");
        }
    }
    if (english.isEmpty())
        return QStringLiteral("压缩包已损坏");
    return QStringLiteral("压缩包已损坏：无法读取（") + english + QStringLiteral("）");
}
