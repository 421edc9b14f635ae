#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>

#include <optional>
#include <vector>

// The list a submission package carries (清单.xml): what the unit sent, so that the bureau can
// tell a file changed, removed or added after it left the unit. UTF-8 XML:
//
//   <SubmissionManifest version="1">
//     <Unit code="410101" name="测试博物馆"/>
//     <Made date="2024-05-06" programVersion="1.1.1"/>
//     <Files>
//       <File path="qzrt_410101_A01.xm" size="5120" sha256="9f86…" role="report"
//             projectCode="A01" verdict="passed" demandTotal="100.1"/>
//       <File path="qzrt_410101_A01.htm" size="20480" sha256="…" role="page"/>
//       <File path="410101.dw" size="4096" sha256="…" role="unit" verdict="passed"/>
//     </Files>
//   </SubmissionManifest>
//
// Paths are relative to the manifest's own folder, with "/" between folders.
struct SubmissionManifest {
    struct File {
        QString path;
        qint64 size = 0;
        QByteArray sha256;   // raw, 32 bytes
        QString role;        // "report", "unit" or "page"
        QString projectCode; // reports
        QString verdict;     // reports and the unit file: "passed", "failed" or "unreadable"
        QString demandTotal; // reports: the 2006–2010 demand total as a plain decimal
    };

    QString unitCode;
    QString unitName;
    QDate date;
    QString programVersion;
    std::vector<File> files;

    // 清单.xml
    static QString fileName();

    QByteArray toXml() const;
    // Read through the store's hardened loader. Nothing, with the reason in Chinese, when
    // the bytes are no manifest of this kind or a file is described in a way we cannot use.
    static std::optional<SubmissionManifest> fromXml(const QByteArray& bytes, QString* error);
};
