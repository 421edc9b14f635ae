#pragma once

#include <QByteArray>
#include <QString>

#include <locale.h>
#include <memory>

struct archive;

// One archive read with libarchive, from a file or from bytes in memory, entry by entry,
// never extracted. Only the formats a unit sends its files in (zip, 7z, tar with gzip,
// bzip2 or xz); nothing that runs an external program.
class ArchiveReader {
public:
    enum class EntryType { File, Folder, Special }; // Special: links (hard ones too), devices, fifos, sockets

    ArchiveReader(const ArchiveReader&) = delete;
    ArchiveReader& operator=(const ArchiveReader&) = delete;
    ~ArchiveReader();

    static std::unique_ptr<ArchiveReader> openFile(const QString& path);
    // The bytes must stay alive and unchanged while the reader is.
    static std::unique_ptr<ArchiveReader> openBytes(const QByteArray& bytes);

    // Moves to the next entry: true when there is one; false at the end or on a failure
    // (failed() tells them apart). After an entry whose data failed, the archive goes on
    // when libarchive can (a bad checksum, an encrypted entry), and ends otherwise.
    bool next();
    bool failed() const { return !failure_.isEmpty(); }
    // True when what ended the archive was reading an entry's data: read() has said so.
    bool endedInEntry() const { return endedInEntry_; }
    // True when libarchive found no archive format in what it read: a file that is only
    // compressed (a gzip of a scan) rather than an archive.
    bool noArchiveFormat() const { return noArchiveFormat_; }
    // Why the archive or the current entry could not be read, in Chinese (see failureText).
    const QString& failure() const { return failure_; }

    // The current entry.
    QString name() const { return name_; }
    EntryType type() const { return type_; }
    qint64 declaredSize() const { return declaredSize_; } // -1 when the header does not say

    // Reads up to `wanted` bytes of the current entry into buffer; 0 at its end, -1 on a
    // failure.
    qint64 read(char* buffer, qint64 wanted);

    // An entry name as stored: UTF-8 when it is valid UTF-8, otherwise GB18030, which is
    // what Chinese Windows writes into a zip without marking it.
    static QString decodeName(const QByteArray& raw);
    // libarchive's English as a clerk reads it: "压缩包已损坏：文件不完整…（Truncated ZIP
    // file data）", or "压缩包无法读取：…" for encryption and unsupported methods.
    static QString failureText(const QString& libarchiveText);

private:
    ArchiveReader();
    bool open(int status);
    void fail();

    archive* archive_ = nullptr;
    // libarchive converts names with the thread's locale: a UTF-8 one for as long as the
    // reader lives, so that marked UTF-8 names arrive whole and unmarked ones raw.
    locale_t previousLocale_ = nullptr;
    QString failure_;
    bool endedInEntry_ = false;
    bool noArchiveFormat_ = false;
    bool entryFailed_ = false; // the current entry's data failed, but the archive goes on
    QString name_;
    EntryType type_ = EntryType::File;
    qint64 declaredSize_ = -1;
};
