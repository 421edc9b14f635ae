#pragma once

#include <QByteArray>
#include <QString>

// config.pz: the unit code and the local folder, in GB2312, in the program's folder.
namespace SettingsFile {

// folder + "config.pz"; the folder ends in a separator.
QString FileName(const QString& programFolder);

// The file's bytes as a save writes them.
QByteArray Serialize(const QString& unitCode, const QString& localFolder);

struct Values {
    bool ok = false;
    QString error;       // the store's failure text when the file cannot be read
    QString unitCode;
    QString localFolder; // empty, or ends in the folder separator
};
Values Parse(const QByteArray& bytes, const QString& nameForMessages);
Values Read(const QString& programFolder);
// Replaces the file atomically; false with errorText when it cannot be written.
bool Write(const QString& programFolder, const QString& unitCode, const QString& localFolder, QString& errorText);

} // namespace SettingsFile
