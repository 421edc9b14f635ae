#pragma once

// Small helpers shared by the report form tests.
#include "report/ReportForm.h"
#include "TestDocuments.h"
#include "core/BudgetReport.h"
#include "core/ReportFieldTable.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStringList>
#include <QTest>

namespace testing {

// A box by its control name ("Text17(4)"); its tab is built first.
inline QLineEdit* box(ReportForm& form, const QString& name)
{
    form.buildAllTabs();
    auto* found = form.findChild<QLineEdit*>(name);
    if (!found)
        qFatal("no text box %s", qPrintable(name));
    return found;
}

inline QPlainTextEdit* plain(ReportForm& form, const QString& name)
{
    form.buildAllTabs();
    auto* found = form.findChild<QPlainTextEdit*>(name);
    if (!found)
        qFatal("no text area %s", qPrintable(name));
    return found;
}

// The 56 amount boxes of the eight budget frames in check order (the hidden pair
// Text21(1)/Text22(1) has no boxes).
inline QStringList budgetBoxNames()
{
    const std::pair<int, int> arrays[] = {{17, 8}, {19, 7}, {21, 7}, {23, 3}, {25, 2}, {27, 2}};
    QStringList names;
    for (const auto& [first, count] : arrays)
        for (int i = 0; i < count; ++i)
            if (first != 21 || i != 1)
                names << QStringLiteral("Text%1(%2)").arg(first).arg(i) << QStringLiteral("Text%1(%2)").arg(first + 1).arg(i);
    return names;
}

// The field id of a control name ("Text32" -> "demandTotal").
inline QString fieldOf(const QString& controlName)
{
    for (const ReportFieldTable::Field& f : ReportFieldTable::fields())
        if (f.control.objectName() == controlName)
            return f.id;
    qFatal("no field for %s", qPrintable(controlName));
}

inline QStringList budgetTexts(ReportForm& form)
{
    QStringList texts;
    for (const QString& name : budgetBoxNames())
        texts << box(form, name)->text();
    return texts;
}

inline QList<bool> enabledFrames(ReportForm& form)
{
    QList<bool> enabled;
    for (int i = 0; i < 8; ++i)
        enabled << form.budgetFrame(i)->isEnabled();
    return enabled;
}

inline QList<bool> onlyFrame(int frame)
{
    QList<bool> enabled(8, false);
    enabled[frame] = true;
    return enabled;
}

// Shows a parsed report in the form, as Open shows the file it loads.
inline void showDocument(ReportForm& form, const xml::XmlDocumentPtr& document)
{
    BudgetReport report;
    report.setDocument(document);
    form.setValues(report.values());
}

inline xml::XmlNode rootOf(const xml::XmlDocumentPtr& document)
{
    return xml::documentElement(document);
}

} // namespace testing

namespace testing {

// Long text i as its editor would set it.
inline void setLongText(ReportForm& form, int i, const QString& text)
{
    ReportValues value;
    value.setValue(ReportForm::longTextField(i), text);
    form.setValues(value);
}

} // namespace testing
