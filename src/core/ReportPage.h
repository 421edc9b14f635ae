#pragma once

#include "core/XmlDocument.h"

#include <QByteArray>
#include <QString>

#include <functional>

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
    bool written = false;    // WriteReportPage: the file holds the new page
    QString writeError;      // WriteReportPage: why the made page could not be written
    bool ok() const { return failure == Failure::None; }
};

ReportPage RenderReportPage(const xml::XmlDocumentPtr& document, const QString& stylesheetPath);

// Makes the page and writes it straight into pagePath, replacing the file as a whole, so
// the page's bytes never have to be held in memory (html stays empty). A failure leaves
// the older file as it was: before the file is touched when the page cannot be made, or
// with written false and writeError when the file cannot be written.
// mayReplace, when given, is asked once the new page is on disk: false leaves the old one.
ReportPage WriteReportPage(const xml::XmlDocumentPtr& document, const QString& stylesheetPath,
                           const QString& pagePath, const std::function<bool()>& mayReplace = {});
