#pragma once

#include "core/XmlDocument.h"

#include <QByteArray>
#include <QString>

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

    // The document node of `document` is matched; the stylesheet document is not changed.
    static Result transform(const Module1::XmlDocumentPtr& document, const Module1::XmlDocumentPtr& stylesheet);
};
