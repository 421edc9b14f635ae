#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

// Files for the batch checker's tests: reports saved by the report window's own Save,
// unit files made from the installed template, edited copies broken in known ways, and
// zip archives written with libarchive.
class CheckCorpus {
public:
    struct Report {
        QString projectCode;
        QString projectName;
        int typeIndex;                             // position in the project type list
        QList<QPair<QString, QString>> amounts;    // control name -> text
    };
    using Edits = QList<QPair<QString, QString>>;  // xpath -> new text

    // Saves each report through the main window (unit 410101, "测试博物馆") and returns
    // the saved bytes, in order; empty on failure (the test fails).
    static QList<QByteArray> saveReports(const QList<Report>& reports);
    // The same report with some element texts replaced.
    static QByteArray edited(const QByteArray& document, const Edits& edits);
    // A unit file from the template; classTotals and their intact counts per class.
    static QByteArray unitFile(const QString& code, const QString& name, const QList<int>& totals,
                               const QList<int>& intact, const QString& relicTotal);
    static bool writeZip(const QString& path, const QList<QPair<QString, QByteArray>>& entries);

    // An archive made in memory: regular files, or links and fifos to pass over. A zip with
    // one encrypted file has them all encrypted (passphrase "secret").
    struct Entry {
        enum Type { File, SymbolicLink, Fifo, EncryptedFile };
        QString name;
        QByteArray bytes;
        Type type = File;
    };
    enum class Format { Zip, TarGz, Gzip }; // Gzip: one compressed file, no archive inside
    // nameCharset: how entry names are stored ("GBK" writes them as Chinese Windows does,
    // without the UTF-8 mark); UTF-8 when empty.
    static QByteArray archiveBytes(Format format, const QList<Entry>& entries, const QByteArray& nameCharset = {});
    static void writeFile(const QString& path, const QByteArray& bytes);
};
