#pragma once

#include "core/XmlDocument.h"
#include "core/XmlTreeWalk.h"

#include <QByteArray>
#include <QStringList>
#include <string_view>
#include <unordered_map>
#include <vector>

// A fixed list of XPaths read from many documents, as a batch reads every field of
// thousands of reports: the paths are taken apart once, so reading a document is one walk
// of it with nothing to set up. Gives exactly what Module1::GetNodeText gives path by
// path. Safe to read from several threads at once.
class XmlPathSet {
public:
    explicit XmlPathSet(QStringList xpaths);
    XmlPathSet(const XmlPathSet&) = delete;
    XmlPathSet& operator=(const XmlPathSet&) = delete;

    // The text of the first node each path selects, spaces trimmed at both ends; empty
    // when none. In the order of the paths.
    QStringList texts(const Module1::XmlNode& context) const;
    // The first node each path selects (null when none), in the order of the paths.
    std::vector<xmlNodePtr> nodes(const Module1::XmlNode& context) const;
    const QStringList& paths() const { return xpaths_; }

private:
    QStringList xpaths_;
    std::vector<XmlTreeWalk::SimplePath> simple_; // per path; no steps for the other paths
    std::vector<qsizetype> general_;       // the other paths, evaluated on their own
    // The simple paths by the name of the element they end in.
    std::unordered_map<std::string_view, std::vector<qsizetype>> byLastStep_;
};
