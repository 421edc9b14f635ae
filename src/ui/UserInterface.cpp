#include "ui/UserInterface.h"

#include "ui/QtUserInterface.h"

#include <QFileInfo>
#include <QStringList>

namespace ui {

namespace {
// The implementation a test installed; null for the real one.
UserInterface*& installed()
{
    static UserInterface* implementation = nullptr;
    return implementation;
}
} // namespace

UserInterface& current()
{
    if (installed())
        return *installed();
    static QtUserInterface real;
    return real;
}

std::optional<QString> withEnding(QWidget* parent, const QString& chosen, const QString& ending)
{
    if (chosen.endsWith(ending, Qt::CaseInsensitive))
        return chosen;
    const QString path = chosen + ending;
    if (QFileInfo::exists(path) && !current().question(parent, QStringLiteral("文件已存在，是否覆盖？")))
        return std::nullopt;
    return path;
}

bool UserInterface::choose(QWidget* parent, const QString& text, const QString&, const QString&)
{
    return question(parent, text);
}

std::optional<QString> UserInterface::directoryName(QWidget*, const FileDialogRequest&)
{
    return std::nullopt;
}

std::optional<QStringList> UserInterface::openFileNames(QWidget*, const FileDialogRequest&)
{
    return std::nullopt;
}

void install(UserInterface* implementation)
{
    installed() = implementation;
}

QString toQtFilter(const QString& pipeFilter)
{
    const QStringList parts = pipeFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& label = parts[i];
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // Qt reads the patterns from the last parentheses of the label.
        if (label.endsWith(QLatin1Char(')')) && label.contains(QLatin1Char('(')) && label.section(QLatin1Char('('), -1).chopped(1).simplified() == patterns)
            filters << label;
        else
            filters << label + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

} // namespace ui
