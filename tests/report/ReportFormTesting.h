#pragma once

// Small helpers shared by the report form tests.
#include "report/ReportForm.h"
#include "store/Module1.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStringList>
#include <QTest>

namespace testing {

inline QLineEdit* box(const ReportForm& form, const QString& name)
{
    auto* found = form.findChild<QLineEdit*>(name);
    if (!found)
        qFatal("no text box %s", qPrintable(name));
    return found;
}

inline QPlainTextEdit* plain(const ReportForm& form, const QString& name)
{
    auto* found = form.findChild<QPlainTextEdit*>(name);
    if (!found)
        qFatal("no text area %s", qPrintable(name));
    return found;
}

// The 58 amount boxes of the eight budget frames, hidden pair included, in check order.
inline QStringList budgetBoxNames()
{
    const std::pair<int, int> arrays[] = {{17, 8}, {19, 7}, {21, 7}, {23, 3}, {25, 2}, {27, 2}};
    QStringList names;
    for (const auto& [first, count] : arrays)
        for (int i = 0; i < count; ++i)
            names << QStringLiteral("Text%1(%2)").arg(first).arg(i) << QStringLiteral("Text%1(%2)").arg(first + 1).arg(i);
    return names;
}

inline QStringList budgetTexts(const ReportForm& form)
{
    QStringList texts;
    for (const QString& name : budgetBoxNames())
        texts << box(form, name)->text();
    return texts;
}

inline QList<bool> enabledFrames(const ReportForm& form)
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

inline xml::XmlNode rootOf(const xml::XmlDocumentPtr& document)
{
    return xml::documentElement(document);
}

} // namespace testing
