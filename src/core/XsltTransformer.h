#pragma once

#include "core/XmlDocument.h"

#include <QByteArray>
#include <QString>

#include <libxslt/xsltInternals.h>

#include <memory>

class QIODevice;

// Applies an XSLT 1.0 stylesheet to a document. Stylesheets may not write files, create
// folders or touch the network, and document() loads without DTDs or entities.
class XsltTransformer {
public:
    struct Result {
        bool ok = false;
        QByteArray page;     // serialised in the encoding the stylesheet's xsl:output names
        QString encoding;    // that encoding ("UTF-8" when the stylesheet names none)
        QString error;       // what went wrong, for logs and tests
    };

    // A compiled stylesheet, which may be applied any number of times.
    using Stylesheet = std::shared_ptr<xsltStylesheet>;

    // The document node of `document` is matched; the stylesheet document is not changed.
    static Result transform(const xml::XmlDocumentPtr& document, const xml::XmlDocumentPtr& stylesheet);
    // The two halves of transform: null (and the reason) when the stylesheet does not compile.
    static Stylesheet compile(const xml::XmlDocumentPtr& stylesheet, QString* error);
    static Result apply(const xml::XmlDocumentPtr& document, const Stylesheet& style);

    // apply in two steps, for a page written straight into its file: the result tree
    // (null, and the reason, when the transformation fails), then its bytes.
    using Output = std::shared_ptr<xmlDoc>;
    static Output run(const xml::XmlDocumentPtr& document, const Stylesheet& style, QString* error);
    static bool serialize(const Output& output, const Stylesheet& style, QIODevice& device);
    // The encoding the stylesheet's xsl:output names, "UTF-8" when none.
    static QString encodingOf(const Stylesheet& style);
};
