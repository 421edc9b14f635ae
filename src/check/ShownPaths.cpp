#include "check/ShownPaths.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

ShownPaths::ShownPaths(const QStringList& inputs)
{
    for (const QString& input : inputs) {
        const QFileInfo info(input);
        QString path = QDir::cleanPath(input);
        if (inputs.size() > 1)
            path = QDir::cleanPath(info.dir().path());
        // A folder's files follow a "/", an archive's entries a ":".
        const bool folder = inputs.size() > 1 || info.isDir();
        prefixes_ << (folder ? (path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/')) : path + QLatin1Char(':'));
    }
    std::sort(prefixes_.begin(), prefixes_.end(), [](const QString& a, const QString& b) { return a.size() > b.size(); });
}

QString ShownPaths::shown(const QString& path) const
{
    for (const QString& prefix : prefixes_) {
        if (path.startsWith(prefix) && path.size() > prefix.size())
            return path.mid(prefix.size());
        // The chosen archive itself (it could not be read): its own name.
        if (prefix.endsWith(QLatin1Char(':')) && path == prefix.chopped(1))
            return QFileInfo(path).fileName();
    }
    return path;
}

QString ShownPaths::inText(const QString& text) const
{
    QString result = text;
    for (const QString& prefix : prefixes_)
        result.replace(prefix, QString());
    return result;
}
