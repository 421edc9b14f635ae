#pragma once

#include "core/XmlDocument.h"

#include <QByteArray>
#include <QString>

// The HTML page of a report document (or of the unit document), made with a stylesheet
// file, without any window.
struct ReportPage {
    enum class Failure {
        None,
        StylesheetUnreadable, // the stylesheet file does not load; stylesheetError says why
        TransformFailed,      // no document, or the stylesheet does not compile or stops
    };
    Failure failure = Failure::None;
    QString stylesheetError; // the store's failure text of the stylesheet load, empty when it loaded
    QString error;           // what went wrong, for logs and tests
    QByteArray html;         // in the encoding the stylesheet's xsl:output names
    QString encoding;
    bool ok() const { return failure == Failure::None; }
};

ReportPage RenderReportPage(const Module1::XmlDocumentPtr& document, const QString& stylesheetPath);
