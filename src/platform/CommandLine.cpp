#include "platform/CommandLine.h"

#include <QDir>
#include <QFileInfo>

CommandLine CommandLine::parse(const QStringList& arguments)
{
    CommandLine result;
    bool optionsEnded = false;
    for (const QString& argument : arguments) {
        const bool isOption = !optionsEnded && argument.startsWith(QLatin1Char('-'));
        if (isOption && argument == QLatin1String("--")) {
            optionsEnded = true;
        } else if (isOption && (argument == QLatin1String("--version") || argument == QLatin1String("-v"))) {
            if (result.request_ == Request::Start)
                result.request_ = Request::PrintVersion;
        } else if (isOption && (argument == QLatin1String("--help") || argument == QLatin1String("-h"))) {
            if (result.request_ == Request::Start)
                result.request_ = Request::PrintHelp;
        } else if (!isOption && result.reportFile_.isEmpty() && !argument.isEmpty()) {
            result.reportFile_ = QDir::toNativeSeparators(QFileInfo(argument).absoluteFilePath());
        } else {
            result.unrecognised_ << argument;
        }
    }
    return result;
}

QString CommandLine::helpText()
{
    return QStringLiteral("用法：vantrel [选项] [报表文件]\n"
                          "\n"
                          "编制文物保护项目预算申报表。给出报表文件（*.xm）时，程序启动后打开该报表。\n"
                          "\n"
                          "选项：\n"
                          "  -h, --help     显示本帮助并退出\n"
                          "  -v, --version  显示版本号并退出\n");
}

QString CommandLine::versionText(const QString& version)
{
    return QStringLiteral("Vantrel ") + version + QLatin1Char('\n');
}

QString CommandLine::unrecognisedMessage() const
{
    if (unrecognised_.isEmpty())
        return QString();
    return QStringLiteral("无法识别的命令行参数，已忽略：") + unrecognised_.join(QLatin1Char(' '));
}
