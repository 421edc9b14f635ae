#pragma once

#include <QByteArray>
#include <QString>

// Tells reports and unit files from everything else by their root element, reading only
// the head of a file: a byte-order mark, the XML declaration, comments, processing
// instructions and a DOCTYPE are passed over (the DOCTYPE's name is the root's).
class DocumentSniffer {
public:
    enum class Kind { Other, Report, UnitInfo };

    // How many bytes of a file the sniffer needs at most.
    static constexpr qsizetype kHeadBytes = 4096;

    static Kind sniff(const QByteArray& head);
    // The root element's name, or empty when the head does not start like XML.
    static QByteArray rootName(const QByteArray& head);
    // By the name alone, for files whose head says nothing: ".xm" reports, ".dw" unit files.
    static Kind kindByName(const QString& fileName);
};
