#include "check/PackageVerifier.h"

#include "check/SubmissionManifest.h"

#include <QSet>

namespace {

QString describe(qint64 size, const QByteArray& sha256)
{
    if (sha256.isEmpty())
        return QStringLiteral("%1 字节，未读取内容").arg(size);
    return QStringLiteral("%1 字节，SHA-256 %2").arg(size).arg(QString::fromLatin1(sha256.toHex()));
}

} // namespace

// Tar writes "./name"; the manifest does not.
QString PackageVerifier::withoutDotSlash(QString name)
{
    while (name.startsWith(QLatin1String("./")))
        name.remove(0, 2);
    return name;
}

QString PackageVerifier::rootOf(const QString& manifestEntry)
{
    const QString name = withoutDotSlash(manifestEntry);
    return name.left(name.lastIndexOf(QLatin1Char('/')) + 1);
}

QString PackageVerifier::kind()
{
    return QStringLiteral("报送包内容与清单不符");
}

PackageVerifier::PackageVerifier(QString archivePath, const QString& manifestEntry, const QByteArray& manifestBytes)
    : archivePath_(std::move(archivePath)), manifestEntry_(manifestEntry)
{
    root_ = rootOf(manifestEntry);
    QString error;
    const std::optional<SubmissionManifest> manifest = SubmissionManifest::fromXml(manifestBytes, &error);
    if (!manifest) {
        manifestError_ = error;
        return;
    }
    for (const SubmissionManifest::File& file : manifest->files)
        listed_.push_back({file.path, file.size, file.sha256});
}

QString PackageVerifier::shown(const QString& entryName) const
{
    return archivePath_ + QLatin1Char(':') + entryName;
}

void PackageVerifier::addEntry(const QString& entryName, qint64 size, const QByteArray& sha256)
{
    const QString name = withoutDotSlash(entryName);
    if (!name.startsWith(root_) || found_.contains(name.mid(root_.size()))) {
        unlisted_ << entryName;
        return;
    }
    found_.insert(name.mid(root_.size()), Found{size, sha256});
}

QList<CheckFinding> PackageVerifier::findings() const
{
    QList<CheckFinding> findings;
    if (!manifestError_.isEmpty()) {
        findings << CheckFinding{shown(manifestEntry_), kind(),
                                 QStringLiteral("清单无法读取，报送包的内容无法核对：") + manifestError_};
        return findings;
    }
    QSet<QString> listedPaths;
    for (const Listed& file : listed_) {
        listedPaths.insert(file.path);
        const auto found = found_.constFind(file.path);
        if (found == found_.constEnd()) {
            findings << CheckFinding{shown(root_ + file.path), kind(), QStringLiteral("清单中的文件不在报送包中")};
        } else if (found->sha256.isEmpty() || found->size != file.size || found->sha256 != file.sha256) {
            findings << CheckFinding{shown(root_ + file.path), kind(),
                                     QStringLiteral("文件与清单不同：清单记录 %1；包中为 %2")
                                         .arg(describe(file.size, file.sha256), describe(found->size, found->sha256))};
        }
    }
    QStringList extra = unlisted_;
    for (auto it = found_.constBegin(); it != found_.constEnd(); ++it) {
        if (!listedPaths.contains(it.key()))
            extra << root_ + it.key();
    }
    extra.sort();
    for (const QString& name : extra)
        findings << CheckFinding{shown(name), kind(), QStringLiteral("报送包中的文件不在清单中")};
    return findings;
}
