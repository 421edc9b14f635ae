#include "check/InputWalker.h"

#include "check/ArchiveReader.h"
#include "check/DocumentSniffer.h"
#include "check/PackageVerifier.h"
#include "check/SubmissionManifest.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <memory>
#include <optional>

namespace {

constexpr qint64 kReadStep = 64 * 1024;

QByteArray readHead(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.read(DocumentSniffer::kHeadBytes);
}

// Reports, unit files and pages are never archives: their heads need not be read twice.
// Office documents are zips too, but nobody sends reports inside them.
bool neverAnArchive(const QString& name)
{
    for (const char* plain : {".xm", ".dw", ".htm", ".html", ".xml", ".tpl", ".pz", ".xlsx", ".xlsm", ".docx",
                              ".pptx", ".odt", ".ods", ".odp", ".epub", ".jar", ".apk"}) {
        if (name.endsWith(QLatin1String(plain), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

// The last part of an entry's name; some Windows tools write "\\" between folders.
QString lastPart(const QString& name)
{
    return name.mid(std::max(name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf(QLatin1Char('\\'))) + 1);
}

// gzip, bzip2, xz: one compressed stream, which may or may not hold a tar.
bool isCompressedStream(const QByteArray& head)
{
    return head.startsWith("\x1F\x8B") || head.startsWith("BZh") || head.startsWith(QByteArray("\xFD" "7zXZ\x00", 6));
}

// Only a regular file is read: opening a fifo would wait for a writer for ever.
bool isRegularFile(const QString& file)
{
    return QFileInfo(file).isFile();
}

bool isArchive(const QString& file)
{
    return isRegularFile(file) && !neverAnArchive(file) && InputWalker::looksLikeArchive(readHead(file));
}

// Every file below a folder in plain name order at every level, so the walk is the same
// on every run; one folder's listing is held at a time. Linked folders are not followed
// (they could loop).
void visitFolder(const QString& folder, const std::function<bool(const QString&)>& visit, bool& going)
{
    // A folder that cannot be listed is handed out itself, to be reported: its files would
    // otherwise be missing from the counts without a word.
    if (!QDir(folder).isReadable()) {
        going = visit(folder);
        return;
    }
    // System: fifos, devices, sockets and broken links are listed too, to be passed over
    // and counted rather than left out without a word.
    const QFileInfoList entries = QDir(folder).entryInfoList(
        QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
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

// An archive on disk or one read out of another into memory; opened again when a
// manifest that came late needs the entries before it.
struct ArchiveSource {
    QString diskPath;
    const QByteArray* bytes = nullptr;

    std::unique_ptr<ArchiveReader> open() const
    {
        return bytes ? ArchiveReader::openBytes(*bytes) : ArchiveReader::openFile(diskPath);
    }
};

// Reads the current entry into memory up to the size limit, counting what it unpacks
// against the outer archive's allowance; beyond the limit only the head is kept. With a
// hash, every byte of the entry goes into it.
class EntryRead {
public:
    enum Outcome { Read, Failed, OverAllowance };

    static Outcome into(ArchiveReader& reader, InputItem& item, qint64& unpacked, qint64 allowance,
                        QCryptographicHash* hash, qint64* size)
    {
        *size = 0;
        const qint64 declared = reader.declaredSize();
        if (declared > InputWalker::kMaxDocumentBytes && !hash) {
            // Passed over unread: what it declares still counts, so a hundred such entries
            // end the archive as surely as one read.
            unpacked += declared;
            if (unpacked > allowance)
                return OverAllowance;
            item.tooLarge = true;
            item.bytes.resize(DocumentSniffer::kHeadBytes);
            const qint64 got = reader.read(item.bytes.data(), item.bytes.size());
            item.bytes.resize(std::max<qint64>(got, 0));
            *size = declared;
            return Read;
        }
        if (declared > 0 && declared <= InputWalker::kMaxDocumentBytes)
            item.bytes.reserve(declared);
        char buffer[kReadStep];
        for (;;) {
            const qint64 got = reader.read(buffer, kReadStep);
            if (got < 0) {
                item.readError = reader.failure();
                item.bytes.clear();
                return Failed;
            }
            if (got == 0)
                return Read;
            *size += got;
            unpacked += got;
            if (unpacked > allowance)
                return OverAllowance;
            if (hash)
                hash->addData(QByteArrayView(buffer, got));
            if (item.tooLarge)
                continue; // read on only for the hash and the allowance
            item.bytes.append(buffer, got);
            if (item.bytes.size() > InputWalker::kMaxDocumentBytes) {
                item.tooLarge = true;
                item.bytes.truncate(DocumentSniffer::kHeadBytes);
                item.bytes.squeeze();
                if (!hash && reader.declaredSize() >= 0)
                    return Read; // the reader skips the rest without unpacking it
            }
        }
    }
};

// The walk of one archive on disk and of every archive inside it.
class ArchiveWalk {
public:
    ArchiveWalk(const std::function<bool(InputItem&&)>& take, qint64& order, QString diskPath, qint64 allowance)
        : take_(take), order_(order), diskPath_(std::move(diskPath)), allowance_(allowance)
    {
    }

    // False when the taker wants no more items.
    bool run()
    {
        walk(ArchiveSource{diskPath_, nullptr}, diskPath_, QFileInfo(diskPath_).fileName(), {}, 1);
        return going_;
    }

private:
    // An entry held against the manifests: hashed as it was read once a manifest had
    // come, else read again for its hash at the end.
    struct Seen {
        int index;
        QString name;
        qint64 size;
        bool hashed = false;
        QByteArray sha256; // empty when it could not be read whole
    };
    // One package inside the archive: a manifest and the folder it governs. A city may
    // send its counties' packages unpacked, side by side, in one archive.
    struct Package {
        std::unique_ptr<PackageVerifier> verifier;
        InputItem manifest;
    };

    bool hand(InputItem&& item, const QList<int>& indexes)
    {
        item.order = order_++;
        item.archivePath = diskPath_;
        item.entryIndexes = indexes;
        going_ = take_(std::move(item));
        return going_;
    }

    bool stopped() const { return !going_ || overAllowance_; }

    // Said of the archive on disk: the allowance is its own, whichever archive inside it
    // went over.
    void overAllowance()
    {
        overAllowance_ = true;
        InputItem item;
        item.path = diskPath_;
        item.fileName = QFileInfo(diskPath_).fileName();
        const QString allowance = allowance_ % (1 << 30) == 0 ? QStringLiteral("%1 GiB").arg(allowance_ >> 30)
                                                               : QStringLiteral("%1 MiB").arg(allowance_ >> 20);
        item.readError = QStringLiteral("压缩包解压后超过 %1，其余内容不予读取").arg(allowance);
        hand(std::move(item), {});
    }

    // shown: the archive as the clerk reads its path; fileName: its own name.
    void walk(const ArchiveSource& source, const QString& shown, const QString& fileName, const QList<int>& indexes,
              int depth)
    {
        std::unique_ptr<ArchiveReader> reader = source.open();
        std::vector<Package> packages;
        std::vector<Seen> seen;
        int index = -1;
        while (!stopped() && reader->next()) {
            ++index;
            const QString name = reader->name();
            const QList<int> at = indexes + QList<int>{index};
            if (reader->type() == ArchiveReader::EntryType::Folder)
                continue;
            InputItem item;
            item.path = shown + QLatin1Char(':') + name;
            item.fileName = lastPart(name);
            if (reader->type() == ArchiveReader::EntryType::Special) {
                seen.push_back({index, name, std::max<qint64>(reader->declaredSize(), 0), true, {}});
                item.passedOver = true;
                hand(std::move(item), at);
                continue;
            }
            // Only a package's entries are hashed: other archives cost no more than their bytes.
            std::optional<QCryptographicHash> hash;
            if (!packages.empty())
                hash.emplace(QCryptographicHash::Sha256);
            qint64 size = 0;
            const EntryRead::Outcome outcome =
                EntryRead::into(*reader, item, unpacked_, allowance_, hash ? &*hash : nullptr, &size);
            if (outcome == EntryRead::OverAllowance) {
                overAllowance();
                return;
            }
            const bool whole = outcome == EntryRead::Read && !item.tooLarge;
            if (whole && item.fileName == SubmissionManifest::fileName() && !governed(packages, name)) {
                auto verifier = std::make_unique<PackageVerifier>(shown, name, item.bytes);
                item.manifest = true;
                item.entryIndexes = at;
                packages.push_back({std::move(verifier), std::move(item)});
                continue;
            }
            seen.push_back({index, name, size, hash.has_value(),
                            hash && outcome == EntryRead::Read ? hash->result() : QByteArray()});
            if (whole && !neverAnArchive(name) && InputWalker::looksLikeArchive(item.bytes.left(DocumentSniffer::kHeadBytes))) {
                if (depth < InputWalker::kMaxArchiveDepth) {
                    const QByteArray inner = std::move(item.bytes);
                    walk(ArchiveSource{{}, &inner}, item.path, item.fileName, at, depth + 1);
                    continue;
                }
                item.bytes.clear();
                item.readError = QStringLiteral("压缩包中的压缩包超过 %1 层，不予读取").arg(InputWalker::kMaxArchiveDepth);
            } else if (item.tooLarge && !neverAnArchive(name) && InputWalker::looksLikeArchive(item.bytes)) {
                item.bytes.clear();
                item.readError = QStringLiteral("压缩包中的压缩包超过 64 MiB，不予读取");
            }
            if (!hand(std::move(item), at))
                return;
        }
        if (stopped())
            return;
        // An entry whose data ended the archive has said why already.
        if (reader->failed() && !reader->endedInEntry()) {
            InputItem item;
            item.path = shown;
            item.fileName = fileName;
            // Only compressed, with no archive inside (a gzip of a scan): another file.
            if (index < 0 && reader->noArchiveFormat() && compressedStream(source))
                item.passedOver = true;
            else
                item.readError = reader->failure();
            if (!hand(std::move(item), indexes))
                return;
        }
        if (packages.empty())
            return;
        // The entries before the first manifest are read once more, for their hashes.
        hashAgain(source, seen);
        for (const Seen& entry : seen) {
            // The package whose folder holds it, the deepest if they nest; an entry in none
            // is one the first manifest does not list.
            Package* owner = &packages.front();
            qsizetype ownerRoot = -1;
            for (Package& package : packages) {
                const QString& root = package.verifier->root();
                if (PackageVerifier::withoutDotSlash(entry.name).startsWith(root) && root.size() > ownerRoot) {
                    owner = &package;
                    ownerRoot = root.size();
                }
            }
            owner->verifier->addEntry(entry.name, entry.size, entry.sha256);
        }
        for (Package& package : packages) {
            package.manifest.manifestFindings = package.verifier->findings();
            const QList<int> at = package.manifest.entryIndexes;
            if (!hand(std::move(package.manifest), at))
                return;
        }
    }

    // A second manifest in a folder that already has one is just another entry.
    static bool governed(const std::vector<Package>& packages, const QString& manifestName)
    {
        const QString root = PackageVerifier::rootOf(manifestName);
        return std::any_of(packages.cbegin(), packages.cend(),
                           [&](const Package& package) { return package.verifier->root() == root; });
    }

    static bool compressedStream(const ArchiveSource& source)
    {
        return isCompressedStream(source.bytes ? *source.bytes : readHead(source.diskPath));
    }

    static void hashAgain(const ArchiveSource& source, std::vector<Seen>& seen)
    {
        auto next = std::find_if(seen.begin(), seen.end(), [](const Seen& entry) { return !entry.hashed; });
        if (next == seen.end())
            return;
        std::unique_ptr<ArchiveReader> reader = source.open();
        int index = -1;
        while (next != seen.end() && reader->next()) {
            if (++index != next->index)
                continue;
            QCryptographicHash hash(QCryptographicHash::Sha256);
            char buffer[kReadStep];
            qint64 got = 0;
            while ((got = reader->read(buffer, kReadStep)) > 0)
                hash.addData(QByteArrayView(buffer, got));
            if (got == 0)
                next->sha256 = hash.result();
            next = std::find_if(next + 1, seen.end(), [](const Seen& entry) { return !entry.hashed; });
        }
    }

    const std::function<bool(InputItem&&)>& take_;
    qint64& order_;
    QString diskPath_;
    qint64 allowance_;
    qint64 unpacked_ = 0;
    bool going_ = true;
    bool overAllowance_ = false;
};

} // namespace

bool InputWalker::looksLikeArchive(const QByteArray& head)
{
    return head.startsWith("PK\x03\x04") || head.startsWith("PK\x05\x06")     // zip, empty zip
        || head.startsWith(QByteArray("7z\xBC\xAF\x27\x1C", 6))                 // 7z
        || isCompressedStream(head)                                            // tar.gz and the like
        || head.mid(257, 5) == "ustar";                                        // tar
}

bool InputWalker::readsAsInput(const QString& path)
{
    if (!isRegularFile(path))
        return false;
    if (DocumentSniffer::kindByName(QFileInfo(path).fileName()) != DocumentSniffer::Kind::Other)
        return true;
    const QByteArray head = readHead(path);
    return DocumentSniffer::sniff(head) != DocumentSniffer::Kind::Other
        || (!neverAnArchive(path) && looksLikeArchive(head));
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
        std::unique_ptr<ArchiveReader> reader = ArchiveReader::openFile(file);
        while (reader->next()) {
            if (reader->type() != ArchiveReader::EntryType::Folder)
                ++count;
        }
        if (reader->failed())
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
            const QFileInfo info(file);
            item.fileName = info.fileName();
            if (info.isDir())
                item.readError = QStringLiteral("无法打开文件夹") + file;
            else
                item.passedOver = !info.isFile();
            return take(std::move(item));
        }
        // An entry's name is only shown; nothing is ever written under it.
        return ArchiveWalk(take, order, file, archiveAllowance_).run();
    });
}

bool InputWalker::readEntry(const QString& archivePath, const QList<int>& entryIndexes, QByteArray* bytes,
                            QString* error)
{
    QByteArray outer; // the archive the next index is in, once it is one read into memory
    for (qsizetype depth = 0; depth < entryIndexes.size(); ++depth) {
        InputItem item;
        {
            std::unique_ptr<ArchiveReader> reader =
                depth == 0 ? ArchiveReader::openFile(archivePath) : ArchiveReader::openBytes(outer);
            int index = -1;
            while (index < entryIndexes[depth] && reader->next())
                ++index;
            if (index != entryIndexes[depth] || reader->type() != ArchiveReader::EntryType::File) {
                *error = reader->failed() ? reader->failure() : QStringLiteral("压缩包中已没有这个文件");
                return false;
            }
            qint64 unpacked = 0;
            qint64 size = 0;
            if (EntryRead::into(*reader, item, unpacked, kMaxArchiveBytes, nullptr, &size) != EntryRead::Read
                || item.tooLarge) {
                *error = item.tooLarge ? QStringLiteral("文件超过 64 MiB，不予读取") : item.readError;
                return false;
            }
        }
        outer = std::move(item.bytes);
    }
    *bytes = std::move(outer);
    return true;
}
