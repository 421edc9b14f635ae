#include "check/CheckCommandLine.h"

#include "check/CheckRun.h"
#include "check/CheckTables.h"
#include "check/CsvTableWriter.h"
#include "check/InputWalker.h"
#include "check/TableSink.h"
#include "check/TerminalSink.h"
#include "check/XlsxTableWriter.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <unistd.h>

namespace {

void printError(const QString& text)
{
    const QByteArray line = text.toUtf8() + '\n';
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stderr);
}

QString usageLine()
{
    return QStringLiteral("用法：vantrel-check [选项] 路径…（vantrel-check --help 查看说明）");
}

} // namespace

CheckOptions CheckCommandLine::parse(const QStringList& arguments)
{
    CheckOptions options;
    bool onlyPaths = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& arg = arguments.at(i);
        if (onlyPaths || !arg.startsWith(QLatin1Char('-')) || arg == QLatin1String("-")) {
            options.paths << arg;
            continue;
        }
        const auto valueOf = [&](const QString& name) -> QString {
            if (i + 1 >= arguments.size()) {
                options.usageError = QStringLiteral("选项 %1 需要一个值").arg(name);
                return {};
            }
            return arguments.at(++i);
        };
        if (arg == QLatin1String("--"))
            onlyPaths = true;
        else if (arg == QLatin1String("-h") || arg == QLatin1String("--help"))
            options.help = true;
        else if (arg == QLatin1String("--gui"))
            options.gui = true;
        else if (arg == QLatin1String("-q") || arg == QLatin1String("--quiet"))
            options.quiet = true;
        else if (arg == QLatin1String("--xlsx"))
            options.xlsxPath = valueOf(arg);
        else if (arg == QLatin1String("--csv"))
            options.csvFolder = valueOf(arg);
        else if (arg == QLatin1String("--jobs")) {
            bool ok = false;
            options.workers = valueOf(arg).toInt(&ok);
            if (options.usageError.isEmpty() && (!ok || options.workers < 1))
                options.usageError = QStringLiteral("--jobs 需要一个正整数");
            // Each is a thread of its own: far more than any machine has cores only fails.
            else if (options.usageError.isEmpty() && options.workers > kMaxWorkers)
                options.usageError = QStringLiteral("--jobs 最多为 %1").arg(kMaxWorkers);
        } else {
            options.usageError = QStringLiteral("未知选项：") + arg;
        }
        if (!options.usageError.isEmpty())
            return options;
    }
    return options;
}

QString CheckCommandLine::helpText()
{
    return QStringLiteral(
        "用法：vantrel-check [选项] 路径…\n"
        "\n"
        "检查各单位报送的项目报表（.xm）和单位信息文件（.dw），并汇总全省的资金需求。\n"
        "路径可以是文件、文件夹（包括其下各级文件夹）或压缩包（zip、7z、tar、tar.gz），\n"
        "压缩包直接读取，不解压到磁盘，压缩包中的压缩包最多读三层；带清单（清单.xml）的\n"
        "报送包按清单核对。报表和单位信息文件按其根元素识别，与扩展名无关。\n"
        "\n"
        "选项：\n"
        "  --xlsx 文件     写出汇总表（工作表：项目、单位、汇总、问题）\n"
        "  --csv 文件夹    把同样的四张表写成 UTF-8 CSV 文件：projects.csv、units.csv、\n"
        "                  summary.csv、findings.csv\n"
        "  -q, --quiet     不列出问题，也不显示进度，只显示最后的统计行\n"
        "  --jobs 数量     同时检查的线程数（默认每个处理器核心一个）\n"
        "  --gui           打开窗口（不带任何参数且有桌面时也会打开窗口）\n"
        "  -h, --help      显示本说明\n"
        "\n"
        "退出状态：0 所有文件都通过检查；1 发现问题；2 命令行有误。\n");
}

bool CheckCommandLine::hasDisplay()
{
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        if (!qEnvironmentVariableIsEmpty(name))
            return true;
    }
    return false;
}

QString CheckCommandLine::overwrittenInput(const QString& output, const QStringList& inputs)
{
    const QFileInfo target(output);
    if (!target.exists())
        return {};
    const QString targetPath = target.canonicalFilePath();
    for (const QString& input : inputs) {
        const QFileInfo info(input);
        const QString inputPath = info.canonicalFilePath();
        if (inputPath.isEmpty())
            continue;
        if (targetPath == inputPath)
            return input;
        // Below a folder checked: a workbook or CSV file of an earlier run is passed over
        // and may be replaced; a report, unit file or archive is being checked.
        if (info.isDir() && targetPath.startsWith(inputPath + QLatin1Char('/')) && InputWalker::readsAsInput(targetPath))
            return input;
    }
    return {};
}

QStringList CheckCommandLine::outputFiles(const CheckOptions& options)
{
    QStringList files;
    if (!options.xlsxPath.isEmpty())
        files << options.xlsxPath;
    if (!options.csvFolder.isEmpty()) {
        for (int table = 0; table < CheckTables::TableCount; ++table)
            files << QDir(options.csvFolder).filePath(CheckTables::csvFileName(table));
    }
    return files;
}

int CheckCommandLine::run(const CheckOptions& options)
{
    if (!options.usageError.isEmpty()) {
        printError(options.usageError);
        printError(usageLine());
        return UsageError;
    }
    if (options.paths.isEmpty()) {
        printError(QStringLiteral("没有指定要检查的文件、文件夹或压缩包"));
        printError(usageLine());
        return UsageError;
    }
    const QStringList missing = InputWalker(options.paths).missingPaths();
    if (!missing.isEmpty()) {
        printError(QStringLiteral("找不到：") + missing.join(QStringLiteral("、")));
        return UsageError;
    }
    // An output that would write over a file being checked is refused before anything is
    // read.
    for (const QString& output : outputFiles(options)) {
        const QString input = overwrittenInput(output, options.paths);
        if (!input.isEmpty()) {
            printError(QStringLiteral("不能把结果写到所检查的文件上：") + output);
            return UsageError;
        }
    }

    const bool terminal = isatty(fileno(stderr)) == 1;
    TerminalSink terminalSink(stdout, terminal ? stderr : nullptr, options.quiet);
    TableSink tables;
    const bool writesTables = !options.xlsxPath.isEmpty() || !options.csvFolder.isEmpty();
    if (!options.xlsxPath.isEmpty())
        tables.addWriter(std::make_unique<XlsxTableWriter>(options.xlsxPath));
    if (!options.csvFolder.isEmpty())
        tables.addWriter(std::make_unique<CsvTableWriter>(options.csvFolder));
    if (writesTables) {
        QString error;
        if (!tables.open(&error)) {
            printError(error);
            return UsageError;
        }
    }

    CheckRun run(options.paths);
    run.setWorkers(options.workers);
    run.addSink(&terminalSink);
    if (writesTables)
        run.addSink(&tables);
    if (terminalSink.showsProgress())
        run.setProgress([&](qint64 done, qint64 total) { terminalSink.progress(done, total); });
    const CheckTally tally = run.run();
    if (writesTables && !tables.succeeded()) {
        printError(tables.error());
        return FindingsReported;
    }
    return tally.allPassed() ? AllPassed : FindingsReported;
}
