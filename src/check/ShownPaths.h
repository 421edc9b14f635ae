#pragma once

#include <QStringList>

// Paths as the window shows them: relative to the folder or archive the clerk chose
// ("县/qzrt_410101_A01.xm", "a.zip:b.zip:r.xm"), or, when several were chosen, to the
// folder each of them is in, so that two archives' entries stay apart.
class ShownPaths {
public:
    explicit ShownPaths(const QStringList& inputs);

    QString shown(const QString& path) const;
    // The same for every path a text mentions (a finding's message may name another file).
    QString inText(const QString& text) const;

private:
    QStringList prefixes_; // longest first
};
