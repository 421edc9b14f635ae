#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>

// A draft of a report's unsaved edits, kept so that a crash, a killed session or a power
// cut loses nothing: the report exactly as Save would write it, with what it belongs to.
// On disk: a short text header, a blank line, then the report's bytes; the header gives
// their length, so a cut-off or altered draft is told from a whole one.
struct RecoveryDraft {
    QString reportFile;     // the report's file; empty when it was never saved
    QString projectCode;
    QString projectName;
    QDateTime written;      // when the draft was taken (UTC)
    QString programVersion;
    QByteArray report;      // the report as Save writes it

    QByteArray encode() const;
    // Nothing when the bytes are no whole draft.
    static std::optional<RecoveryDraft> decode(const QByteArray& bytes);
    // Whether the report inside is what Save writes: a document the hardened loader reads
    // whose root is a report's. Anything else is a damaged draft, not a blank report.
    bool holdsReport() const;
    // A draft's file name ends so.
    static QString fileSuffix() { return QStringLiteral(".vdraft"); }
};
