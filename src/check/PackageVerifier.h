#pragma once

#include "check/CheckFinding.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include <vector>

// Holds an archive's contents against the manifest it carries (清单.xml): every file the
// manifest lists must be there with its size and SHA-256, and nothing else may be. The
// manifest's folder inside the archive is the package's root.
class PackageVerifier {
public:
    // archivePath: how the archive is shown ("x.zip", "a.zip:b.zip"); manifestEntry: the
    // manifest's full name inside it.
    PackageVerifier(QString archivePath, const QString& manifestEntry, const QByteArray& manifestBytes);

    // Every other entry of the archive but folders. sha256 is empty for one that was not
    // read whole (a link, a device, a file above the size limit).
    void addEntry(const QString& entryName, qint64 size, const QByteArray& sha256);

    // Missing and altered files in the manifest's order, then the files it does not list,
    // by name; one finding when the manifest itself cannot be read.
    QList<CheckFinding> findings() const;

    static QString kind(); // 报送包内容与清单不符
    // The manifest's folder inside the archive, with its "/" ("" at the top).
    const QString& root() const { return root_; }
    // An entry name as the manifest writes paths: tar's leading "./" dropped.
    static QString withoutDotSlash(QString name);
    // The folder a manifest of this entry name governs (what root() would be).
    static QString rootOf(const QString& manifestEntry);

private:
    struct Listed {
        QString path;
        qint64 size;
        QByteArray sha256;
    };
    struct Found {
        qint64 size;
        QByteArray sha256;
    };

    QString shown(const QString& entryName) const;

    QString archivePath_;
    QString manifestEntry_;
    QString root_;          // the manifest's folder inside the archive, with its "/"
    QString manifestError_; // why the manifest could not be read
    std::vector<Listed> listed_;
    QHash<QString, Found> found_;   // by path relative to the root
    QStringList unlisted_;          // entry names, in the archive's order
};
