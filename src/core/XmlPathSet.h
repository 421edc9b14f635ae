#pragma once

#include "core/XmlDocument.h"
#include "core/XmlTreeWalk.h"

#include <QByteArray>
#include <QStringList>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

// A fixed list of XPaths read from many documents, as a batch reads every field of
// thousands of reports: the paths are taken apart once, so reading a document is one walk
// of it with nothing to set up. Gives exactly what xml::GetNodeText gives path by
// path. Safe to read from several threads at once.
class XmlPathSet {
public:
    explicit XmlPathSet(QStringList xpaths);
    XmlPathSet(const XmlPathSet&) = delete;
    XmlPathSet& operator=(const XmlPathSet&) = delete;

    // The text of the first node each path selects, spaces trimmed at both ends; empty
    // when none. In the order of the paths.
    QStringList texts(const xml::XmlNode& context) const;
    // The first node each path selects (null when none), in the order of the paths.
    std::vector<xmlNodePtr> nodes(const xml::XmlNode& context) const;
    const QStringList& paths() const { return xpaths_; }

private:
    QStringList xpaths_;
    std::vector<XmlTreeWalk::SimplePath> simple_; // per path; no steps for the other paths
    std::vector<qsizetype> general_;       // the other paths, evaluated on their own
    // The simple paths of one step by the element's name, the longer ones by the names of
    // the element and its parent: a field's element name ("Total") repeats under many
    // parents, and each candidate costs a walk up the ancestors. Names are numbered once;
    // a walk looks each name of a document up once, and then pairs by their numbers.
    int nameId(std::string_view name) const;
    std::unordered_map<std::string_view, int> nameIds_;
    std::vector<std::vector<qsizetype>> candidates_;
    std::vector<int> byName_;          // by name id: index into candidates_, -1 for none
    std::vector<int> byParentAndName_; // by parent id * names + name id, the same
};
