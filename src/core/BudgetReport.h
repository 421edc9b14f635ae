#pragma once

#include "core/BudgetRules.h"
#include "core/ReportFile.h"
#include "core/ReportValues.h"
#include "core/XmlDocument.h"

#include <QString>
#include <QStringList>

// One budget report as the program edits it: its values by field id, the header a save
// stamps, the file it was opened from or saved to, its page, and whether it holds
// unsaved edits. Loading, the checks before a save, writing the report file and its page
// all live here; the window asks the user and shows values, nothing more. Every
// operation that can fail returns what the clerk is to be told, in order; nothing is kept
// in a global error state.
class BudgetReport {
public:
    // The files a save or an export uses.
    struct Files {
        QString templatePath;   // the blank report every save starts from (report1.tpl)
        QString stylesheetPath; // the page's stylesheet (report1.tps)
    };

    struct LoadResult {
        bool ok = false;
        QString error; // the store's failure text
    };

    // What a save or an export did. Messages are shown in order after `shown` has been
    // put into the form.
    struct WriteResult {
        bool reportWritten = false; // the report file now holds the report (Save, Save As)
        ReportValues shown;         // empty fields that were written as their default, to be shown so
        QStringList messages;
    };

    const ReportValues& values() const { return values_; }
    void setValues(const ReportValues& values) { values_ = values; }
    void setValue(const QString& field, const QString& text) { values_.setValue(field, text); }
    QString value(const QString& field) const { return values_.value(field); }

    // The header as the file last loaded or written holds it.
    const ReportHeader& header() const { return header_; }

    // The report file: empty until the report was opened or saved. Save sets it to the
    // standard name before it asks whether to overwrite.
    const QString& fileName() const { return fileName_; }
    void setFileName(const QString& fileName) { fileName_ = fileName; }
    // The page last written: a save's standard page name, or the name chosen for an export.
    const QString& pageFileName() const { return pageFileName_; }
    void setPageFileName(const QString& fileName) { pageFileName_ = fileName; }

    bool isModified() const { return modified_; }
    void setModified(bool modified) { modified_ = modified; }

    // Loads a report file, or the blank template for a new report. On success the values
    // are the file's, as the form shows them (an empty text shows its field's default, a
    // list the item its stored code selects). On failure the values stay as they were.
    // The document held for an export is this load's either way.
    LoadResult load(const QString& path);
    // The same for a report held in memory (a recovery draft).
    LoadResult loadBytes(const QByteArray& bytes, const QString& nameForMessages);
    // The same for a document already parsed.
    void setDocument(const xml::XmlDocumentPtr& document);

    // Why Save may not go on, before anything is asked: no project code, a code that
    // cannot be part of a file name, no project name, no unit code. Empty when it may.
    QString saveRefusal(const QString& unitCode) const;
    // The same for Save As, which needs a code and a name as typed (blanks count).
    QString saveAsRefusal() const;
    // The message shown when the project code cannot be part of a file name.
    static QString unsafeProjectCodeText();
    // The four budget rules. Amounts the reading rewrote (non-numbers to "0", full-width
    // or grouped digits to plain ones) are rewritten in the values as well.
    BudgetRuleResult checkBudget();
    // The refusal of the first free text too long to be loaded again; empty when all fit.
    QString textLengthRefusal() const;
    // The refusal of a report whose file would be too large to be opened again, naming its
    // longest texts; empty when it fits.
    QString sizeRefusal() const;
    // Why the report may not be written at all: a text or the whole too large to open again.
    QString writeRefusal() const;

    // Writes the report: the blank template filled with the header and the values,
    // replacing fileName() atomically, then the page to pagePath (an empty pagePath:
    // the page is made but not written, and the clerk is told to set a unit code).
    // Runs no budget check: the caller has.
    WriteResult save(const Files& files, const ReportHeader& header, const QString& pagePath);
    // Writes only the page, under pagePath, from the document last loaded or saved with
    // the header and the values written into it. Neither the report file nor the
    // modified state changes.
    WriteResult exportPage(const Files& files, const ReportHeader& header, const QString& pagePath);

    // The report as a save would write it, with no file touched: for a draft of
    // unsaved edits. Empty with `error` set when the template cannot be read.
    QByteArray serialize(const QString& templatePath, const ReportHeader& header, QString* error) const;

    // The stamped header of a save made today.
    static ReportHeader headerForToday(const QString& unitCode, const QString& unitName, const QString& reportUser);

private:
    // A load's outcome: the document is held either way, its values only when it was read.
    LoadResult adopt(const xml::XmlDocumentPtr& document, const QString& error);
    // Empty fields take their defaults; those are returned for the form to show.
    ReportValues applyDefaults();
    void writeInto(const xml::XmlDocumentPtr& document, const ReportHeader& header) const;

    ReportValues values_;
    ReportHeader header_;
    QString fileName_;
    QString pageFileName_;
    bool modified_ = false;
    xml::XmlDocumentPtr document_;
};
