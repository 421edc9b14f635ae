// The batch checker's parts where a fault would hide in the totals: telling files apart
// by their head, exact decimals, CSV quoting, the command line, archive limits and what
// is kept of each report for the checks across files.
#include "CheckCorpus.h"
#include "core/AmountText.h"
#include "check/CheckCommandLine.h"
#include "check/CrossFileChecks.h"
#include "check/CsvTableWriter.h"
#include "check/DemandTotals.h"
#include "check/DocumentSniffer.h"
#include "check/FileChecker.h"
#include "check/InputWalker.h"
#include "check/ShownPaths.h"
#include "check/TerminalSink.h"
#include "check/XlsxTableWriter.h"
#include "check/ArchiveReader.h"
#include "check/CheckTables.h"
#include "core/BudgetRules.h"
#include "core/ReportFieldTable.h"
#include "core/ReportFile.h"
#include "TempProgramFolder.h"

#include <QTemporaryDir>
#include <QTest>

#include <archive.h>
#include <archive_entry.h>
#include <libxml/parser.h>

using Kind = DocumentSniffer::Kind;
Q_DECLARE_METATYPE(DocumentSniffer::Kind)

class TestCheckParts : public QObject {
    Q_OBJECT

private slots:
    // Relative to the one folder or archive chosen; with several, to the folder of each,
    // so that two archives' entries stay apart; messages naming files alike.
    void shownPaths()
    {
        QTemporaryDir dir;
        const QString folder = dir.path() + QStringLiteral("/in");
        QVERIFY(QDir().mkpath(folder));
        const ShownPaths one({folder});
        QCOMPARE(one.shown(folder + QStringLiteral("/sub/a.xm")), QStringLiteral("sub/a.xm"));
        QCOMPARE(one.shown(QStringLiteral("/elsewhere/a.xm")), QStringLiteral("/elsewhere/a.xm"));
        QCOMPARE(one.inText(QStringLiteral("与“%1/b.xm”相同").arg(folder)), QStringLiteral("与“b.xm”相同"));
        const QString zip = dir.path() + QStringLiteral("/x.zip");
        const ShownPaths archive({zip});
        QCOMPARE(archive.shown(zip + QStringLiteral(":县/a.xm")), QStringLiteral("县/a.xm"));
        QCOMPARE(archive.shown(zip), QStringLiteral("x.zip"));
        const ShownPaths several({zip, dir.path() + QStringLiteral("/y.zip")});
        QCOMPARE(several.shown(zip + QStringLiteral(":a.xm")), QStringLiteral("x.zip:a.xm"));
    }

    void sniffing_data()
    {
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<Kind>("kind");
        QTest::newRow("declaration") << QByteArray("<?xml version=\"1.0\" encoding=\"GB2312\"?>\r\n<Report>") << Kind::Report;
        QTest::newRow("bom, comment") << QByteArray("\xEF\xBB\xBF<!-- x > y --><CorpInfo a=\"1\">") << Kind::UnitInfo;
        QTest::newRow("doctype names the root") << QByteArray("<?xml version=\"1.0\"?><!DOCTYPE Report [<!ENTITY a \"b\">]>")
                                                << Kind::Report;
        QTest::newRow("longer name") << QByteArray("<Reports>") << Kind::Other;
        QTest::newRow("cut off") << QByteArray("<Report") << Kind::Other;
        QTest::newRow("html") << QByteArray("<!DOCTYPE html><html>") << Kind::Other;
        QTest::newRow("text") << QByteArray("Report") << Kind::Other;
        QTest::newRow("empty") << QByteArray() << Kind::Other;
        QTest::newRow("empty element") << QByteArray("<CorpInfo/>") << Kind::UnitInfo;
    }
    void sniffing()
    {
        QFETCH(QByteArray, head);
        QFETCH(Kind, kind);
        QCOMPARE(DocumentSniffer::sniff(head), kind);
    }

    // The batch reads each amount once and judges by the sums; the window reads the boxes
    // pair by pair. Both must name the same first broken rule for any stored report.
    void batchVerdictMatchesTheRules_data()
    {
        QTest::addColumn<QStringList>("settings"); // "Text17(0)=100"
        QTest::newRow("blank") << QStringList{};
        QTest::newRow("share above its total") << QStringList{"Text32=9", "Text12(0)=9", "Text19(2)=1", "Text20(2)=2"};
        QTest::newRow("shares above other items' totals")
            << QStringList{"Text32=20", "Text12(0)=20", "Text17(0)=5", "Text18(1)=5", "Text19(0)=5", "Text20(1)=5",
                           "Text17(1)=5", "Text19(1)=5"};
        QTest::newRow("last item") << QStringList{"Text27(1)=0.01", "Text28(1)=0.02"};
        QTest::newRow("years above demand") << QStringList{"Text32=0.3", "Text12(0)=0.1", "Text13(4)=0.21"};
        QTest::newRow("years equal demand") << QStringList{"Text32=0.3", "Text12(0)=0.1", "Text13(4)=0.2"};
        QTest::newRow("budget above demand") << QStringList{"Text32=49.9", "Text17(3)=20", "Text25(1)=30"};
        QTest::newRow("shares above the years")
            << QStringList{"Text32=100", "Text12(1)=39.99", "Text17(0)=60", "Text18(0)=25", "Text27(1)=15", "Text28(1)=15"};
        QTest::newRow("not a number counts as 0") << QStringList{"Text32=abc", "Text12(0)=1"};
        QTest::newRow("negative share") << QStringList{"Text17(0)=-5", "Text18(0)=-10", "Text32=-5", "Text12(0)=-10"};
    }
    void batchVerdictMatchesTheRules()
    {
        QFETCH(QStringList, settings);
        QFile blank(TempProgramFolder::templatesDir() + QStringLiteral("/report1.tpl"));
        QVERIFY(blank.open(QIODevice::ReadOnly));
        CheckCorpus::Edits edits;
        for (const QString& setting : settings) {
            const QString control = setting.section(QLatin1Char('='), 0, 0);
            const auto field = std::find_if(ReportFieldTable::fields().begin(), ReportFieldTable::fields().end(),
                                            [&](const auto& f) { return f.control.objectName() == control; });
            QVERIFY2(field != ReportFieldTable::fields().end(), qPrintable(control));
            edits << qMakePair(field->xpath, setting.section(QLatin1Char('='), 1));
        }
        InputItem item;
        item.path = item.fileName = QStringLiteral("report.xm");
        item.bytes = CheckCorpus::edited(blank.readAll(), edits);
        const FileResult result = FileChecker::check(item);
        QVERIFY(result.report);

        const ReportFile stored = ReadReportBytes(item.bytes, item.path);
        QVERIFY(stored.ok);
        const BudgetRuleResult rules = CheckBudgetRules(stored.values);
        QCOMPARE(result.report->firstBrokenRule, rules.message);
        const bool findingNamed = std::any_of(result.findings.begin(), result.findings.end(), [&](const CheckFinding& f) {
            return f.kind == FileChecker::budgetRuleKind() && f.message == rules.message;
        });
        QCOMPARE(findingNamed, !rules.ok());
    }

    // Files on disk share one read buffer per thread: what the previous file held must not
    // make a missing file look like a report, nor stick to a shorter one.
    void eachFileIsJudgedByItsOwnBytes()
    {
        QTemporaryDir dir;
        QFile blank(TempProgramFolder::templatesDir() + QStringLiteral("/report1.tpl"));
        QVERIFY(blank.open(QIODevice::ReadOnly));
        CheckCorpus::writeFile(dir.filePath(QStringLiteral("a.xm")), blank.readAll());
        CheckCorpus::writeFile(dir.filePath(QStringLiteral("short.txt")), QByteArray("<Report"));
        const auto check = [&](const QString& name) {
            InputItem item;
            item.fileName = name;
            item.path = item.diskPath = dir.filePath(name);
            return FileChecker::check(item);
        };
        QCOMPARE(check(QStringLiteral("a.xm")).status, FileResult::Status::Checked);
        const FileResult missing = check(QStringLiteral("gone.txt"));
        QCOMPARE(missing.kind, Kind::Other);
        QCOMPARE(missing.status, FileResult::Status::Unreadable);
        QCOMPARE(check(QStringLiteral("a.xm")).status, FileResult::Status::Checked);
        QCOMPARE(check(QStringLiteral("short.txt")).status, FileResult::Status::Ignored);
    }

    // The project type is judged as the document says it, not by its first bytes: a code
    // in a CDATA section or as a character reference, after a comment that looks like one.
    void projectTypeAsTheDocumentSaysIt_data()
    {
        QTest::addColumn<QByteArray>("written");
        QTest::addColumn<bool>("listed");
        QTest::newRow("plain") << QByteArray("<ProjectType>12</ProjectType>") << true;
        QTest::newRow("after a comment") << QByteArray("<!-- <ProjectType>99</ProjectType> --><ProjectType>12</ProjectType>") << true;
        QTest::newRow("cdata") << QByteArray("<ProjectType><![CDATA[12]]></ProjectType>") << true;
        QTest::newRow("character reference") << QByteArray("<ProjectType>&#49;2</ProjectType>") << true;
        QTest::newRow("unknown") << QByteArray("<ProjectType>99</ProjectType>") << false;
    }
    void projectTypeAsTheDocumentSaysIt()
    {
        QFETCH(QByteArray, written);
        QFETCH(bool, listed);
        QFile blank(TempProgramFolder::templatesDir() + QStringLiteral("/report1.tpl"));
        QVERIFY(blank.open(QIODevice::ReadOnly));
        QByteArray report = blank.readAll();
        const QByteArray stored = "<ProjectType dict=\"古建维修规划\">11</ProjectType>";
        QVERIFY(report.contains(stored));
        report.replace(stored, written);
        InputItem item;
        item.fileName = QStringLiteral("r.xm");
        item.path = item.fileName;
        item.bytes = report;
        const FileResult result = FileChecker::check(item);
        QCOMPARE(result.status, FileResult::Status::Checked);
        const bool flagged = std::any_of(result.findings.cbegin(), result.findings.cend(),
                                         [](const CheckFinding& f) { return f.kind == FileChecker::projectTypeKind(); });
        QCOMPARE(flagged, !listed);
        QCOMPARE(result.report->projectTypeCode, listed ? 12 : 0);
    }

    // What the files hold never breaks an output: a workbook cell drops what XML cannot
    // hold; a finding stays on one line and sends the terminal nothing it would obey.
    void outputsHoldAnyName()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("w.xlsx"));
        XlsxTableWriter writer(path);
        QString error;
        QVERIFY(writer.open(&error));
        writer.beginTable(CheckTables::Findings);
        writer.addRow({QStringLiteral("a\uFFFFb\uFFFEc\x01" "d.xm"), QStringLiteral("k"), QStringLiteral("m")});
        writer.endTable();
        QVERIFY2(writer.commit(&error), qPrintable(error));
        QByteArray sheet;
        const std::unique_ptr<ArchiveReader> reader = ArchiveReader::openFile(path);
        while (reader->next()) {
            if (reader->name() != QLatin1String("xl/worksheets/sheet4.xml"))
                continue;
            char buffer[4096];
            for (qint64 got = 0; (got = reader->read(buffer, sizeof buffer)) > 0;)
                sheet.append(buffer, got);
        }
        xmlDocPtr document = xmlReadMemory(sheet.constData(), int(sheet.size()), nullptr, nullptr, XML_PARSE_NONET);
        QVERIFY2(document, sheet.constData());
        xmlFreeDoc(document);
        QVERIFY(sheet.contains("abcd.xm"));

        const CheckFinding finding{QStringLiteral("a\nb\x1b[31m.xm"), QStringLiteral("k"), QStringLiteral("值为“\u009b”")};
        QCOMPARE(TerminalSink::findingLine(finding), QStringLiteral("a\uFFFDb\uFFFD[31m.xm：k：值为“\uFFFD”"));
    }

    // A place the workbook cannot be written to is found before any file is read, and
    // leaves nothing behind.
    void workbookPlaceCheckedFirst()
    {
        QTemporaryDir dir;
        QString error;
        const QString missing = dir.filePath(QStringLiteral("no/such/w.xlsx"));
        QVERIFY(!XlsxTableWriter(missing).open(&error));
        QCOMPARE(error, QStringLiteral("无法写入文件") + missing + QStringLiteral("：文件夹不存在"));
        QVERIFY(!XlsxTableWriter(dir.path()).open(&error));
        QCOMPARE(error, QStringLiteral("无法写入文件") + dir.path() + QStringLiteral("：该路径是一个文件夹"));
        {
            XlsxTableWriter fine(dir.filePath(QStringLiteral("w.xlsx")));
            QVERIFY(fine.open(&error));
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList()); // the trial file is gone
        }
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
        // A folder that goes while the files are checked is said in Chinese at the end.
        const QString gone = dir.filePath(QStringLiteral("stick/w.xlsx"));
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("stick"))));
        XlsxTableWriter late(gone);
        QVERIFY(late.open(&error));
        QVERIFY(QDir(dir.filePath(QStringLiteral("stick"))).removeRecursively());
        QVERIFY(!late.commit(&error));
        QCOMPARE(error, QStringLiteral("无法写入文件") + gone + QStringLiteral("：文件夹不存在"));
    }

    // A unit is named by its reports until a unit file names it; of two unit files the
    // first names it, as the checks across files compare reports with the first.
    void summaryNamesUnitsAsTheChecksDo()
    {
        DemandTotals totals;
        ReportRow row;
        row.unitCode = QStringLiteral("410101");
        row.unitName = QStringLiteral("报表中的名称");
        totals.addReport(row);
        const auto unitName = [&] {
            for (const QStringList& cells : totals.rows()) {
                if (cells.value(0) == QStringLiteral("单位"))
                    return cells.value(2);
            }
            return QString();
        };
        QCOMPARE(unitName(), QStringLiteral("报表中的名称"));
        totals.nameUnit(row.unitCode, QStringLiteral("第一份单位文件"));
        totals.nameUnit(row.unitCode, QStringLiteral("第二份单位文件"));
        QCOMPARE(unitName(), QStringLiteral("第一份单位文件"));
    }

    // A run that fails before its CSV files are written leaves no empty folder it made,
    // and never removes one the clerk had.
    void csvFolderOnlyWhenWritten()
    {
        QTemporaryDir dir;
        const QString made = dir.filePath(QStringLiteral("made"));
        QString error;
        {
            CsvTableWriter writer(made);
            QVERIFY(writer.open(&error));
            QVERIFY(QFileInfo(made).isDir());
        }
        QVERIFY(!QFileInfo::exists(made));
        {
            CsvTableWriter writer(dir.path());
            QVERIFY(writer.open(&error));
        }
        QVERIFY(QFileInfo(dir.path()).isDir());
    }

    // A spreadsheet or database reading the tables keys columns by name.
    void everyColumnNamedOnce()
    {
        for (int table = 0; table < CheckTables::TableCount; ++table) {
            const QStringList headers = CheckTables::headers(table);
            QCOMPARE(QSet<QString>(headers.cbegin(), headers.cend()).size(), headers.size());
        }
    }

    void exactDecimals()
    {
        BudgetAmount sum;
        for (const char* text : {"0.1", "0.2", "1,000.05", "-0.35"})
            sum += AmountText::parseOrZero(QString::fromLatin1(text));
        QCOMPARE(AmountText::decimal(sum), QStringLiteral("1000"));
        QCOMPARE(AmountText::decimal(AmountText::parseOrZero(QStringLiteral("-0.050"))), QStringLiteral("-0.05"));
        QCOMPARE(AmountText::decimal(AmountText::parseOrZero(QStringLiteral("abc"))), QStringLiteral("0"));
        QCOMPARE(AmountText::toDouble(AmountText::parseOrZero(QStringLiteral("0.1"))
                                      + AmountText::parseOrZero(QStringLiteral("0.2"))), 0.3);
        QCOMPARE(AmountText::decimal(AmountText::parseOrZero(QStringLiteral("123456789012345678901234.5"))),
                 QStringLiteral("123456789012345678901234.5"));
    }

    void csvQuoting()
    {
        QCOMPARE(CsvTableWriter::csvLine({QStringLiteral("a"), QStringLiteral("b,c"), QStringLiteral("say \"hi\""),
                                          QStringLiteral("two\nlines"), QString()}),
                 QByteArray("a,\"b,c\",\"say \"\"hi\"\"\",\"two\nlines\",\r\n"));
        QCOMPARE(CsvTableWriter::csvLine({QStringLiteral("单位")}), QStringLiteral("单位\r\n").toUtf8());
    }

    void commandLine()
    {
        const CheckOptions options = CheckCommandLine::parse(
            {QStringLiteral("-q"), QStringLiteral("--xlsx"), QStringLiteral("a.xlsx"), QStringLiteral("--"), QStringLiteral("--gui")});
        QVERIFY(options.quiet && !options.gui);
        QCOMPARE(options.xlsxPath, QStringLiteral("a.xlsx"));
        QCOMPARE(options.paths, QStringList{QStringLiteral("--gui")});
        QVERIFY(!CheckCommandLine::parse({QStringLiteral("--csv")}).usageError.isEmpty());
        QVERIFY(!CheckCommandLine::parse({QStringLiteral("--jobs"), QStringLiteral("0")}).usageError.isEmpty());
        // A thread each: a number far beyond any machine's cores is refused, not tried.
        QCOMPARE(CheckCommandLine::parse({QStringLiteral("--jobs"), QStringLiteral("64")}).workers, 64);
        QCOMPARE(CheckCommandLine::parse({QStringLiteral("--jobs"), QStringLiteral("100000")}).usageError,
                 QStringLiteral("--jobs 最多为 64"));

        QTemporaryDir dir;
        const QString input = dir.filePath(QStringLiteral("in/a.xm"));
        CheckCorpus::writeFile(input, "<Report/>");
        QCOMPARE(CheckCommandLine::overwrittenInput(input, {dir.filePath(QStringLiteral("in"))}), dir.filePath(QStringLiteral("in")));
        QCOMPARE(CheckCommandLine::overwrittenInput(input, {input}), input);
        QCOMPARE(CheckCommandLine::overwrittenInput(dir.filePath(QStringLiteral("out.xlsx")), {input}), QString());
        // The workbook and CSV files of an earlier run inside the folder are passed over by
        // the check, and may be written again; an archive there is checked.
        CheckCorpus::writeFile(dir.filePath(QStringLiteral("in/汇总表.xlsx")),
                               CheckCorpus::archiveBytes(CheckCorpus::Format::Zip, {{QStringLiteral("xl/workbook.xml"), "<workbook/>"}}));
        CheckCorpus::writeFile(dir.filePath(QStringLiteral("in/projects.csv")), "单位编码\r\n");
        CheckCorpus::writeFile(dir.filePath(QStringLiteral("in/reports.zip")),
                               CheckCorpus::archiveBytes(CheckCorpus::Format::Zip, {{QStringLiteral("a.xm"), "<Report/>"}}));
        const QStringList folder{dir.filePath(QStringLiteral("in"))};
        QCOMPARE(CheckCommandLine::overwrittenInput(dir.filePath(QStringLiteral("in/汇总表.xlsx")), folder), QString());
        QCOMPARE(CheckCommandLine::overwrittenInput(dir.filePath(QStringLiteral("in/projects.csv")), folder), QString());
        QCOMPARE(CheckCommandLine::overwrittenInput(dir.filePath(QStringLiteral("in/reports.zip")), folder), folder[0]);
    }

    // A tar.gz entry over the store's limit is judged by its head and never held whole;
    // entries come out in archive order with their names.
    void archiveEntriesAndSizeLimit()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("big.tar.gz"));
        archive* a = archive_write_new();
        archive_write_set_format_pax_restricted(a);
        archive_write_add_filter_gzip(a);
        QVERIFY(archive_write_open_filename(a, QFile::encodeName(path).constData()) == ARCHIVE_OK);
        const QByteArray small = "<Report/>";
        QByteArray big(InputWalker::kMaxDocumentBytes + 10, ' ');
        big.replace(0, 8, "<Report>");
        const std::pair<const char*, const QByteArray*> entries[] = {{"a/small.xm", &small}, {"big.xm", &big}};
        for (const auto& [name, bytes] : entries) {
            archive_entry* entry = archive_entry_new();
            archive_entry_set_pathname(entry, name);
            archive_entry_set_filetype(entry, AE_IFREG);
            archive_entry_set_perm(entry, 0644);
            archive_entry_set_size(entry, bytes->size());
            QVERIFY(archive_write_header(a, entry) == ARCHIVE_OK);
            QCOMPARE(archive_write_data(a, bytes->constData(), static_cast<size_t>(bytes->size())), bytes->size());
            archive_entry_free(entry);
        }
        archive_write_close(a);
        archive_write_free(a);
        big.clear();

        const InputWalker walker({path});
        QCOMPARE(walker.countItems(), 2);
        QList<InputItem> items;
        walker.walk([&](InputItem&& item) {
            items << std::move(item);
            return true;
        });
        QCOMPARE(items.size(), 2);
        QCOMPARE(items[0].path, path + QStringLiteral(":a/small.xm"));
        QCOMPARE(items[0].bytes, small);
        QVERIFY(items[1].tooLarge);
        QVERIFY(items[1].bytes.size() <= DocumentSniffer::kHeadBytes);
    }

    // Only codes, a hash and the path are kept per report; the findings must still name
    // every file exactly as it was given, and a copy must be told from a conflict.
    void crossFileChecksKeepEnough()
    {
        const auto row = [](const char* unit, const char* project, const char* name, char content) {
            ReportRow r;
            r.unitCode = QString::fromUtf8(unit);
            r.projectCode = QString::fromUtf8(project);
            r.unitName = QString::fromUtf8(name);
            r.contentHash = QByteArray(20, content);
            return r;
        };
        CrossFileChecks cross;
        UnitRow unit;
        unit.unitCode = QStringLiteral("410101");
        unit.unitName = QStringLiteral("测试博物馆");
        cross.addUnit(-1, QStringLiteral("/in/410101.dw"), unit);
        // What each report shows as it comes: a copy, and whether it has a finding so far.
        const auto added = [&](qint64 order, const char* path, const ReportRow& r) {
            const CrossFileChecks::Added a = cross.addReport(order, QString::fromUtf8(path), r);
            return QString::fromLatin1(a.copy ? "copy" : "") + QString::fromLatin1(a.findingSoFar ? "finding" : "");
        };
        QCOMPARE(added(0, "/in/qzrt_410101_A01.xm", row("410101", "A01", "测试博物馆", 'a')), QString());
        // The same file in a zip: a copy, no finding.
        QCOMPARE(added(1, "/in/b.zip:qzrt_410101_A01.xm", row("410101", "A01", "测试博物馆", 'a')), QStringLiteral("copy"));
        // The same project with other content, in a folder-less path: both files named.
        QCOMPARE(added(2, "项目甲.xm", row("410101", "A01", "测试博物馆", 'b')), QStringLiteral("finding"));
        QCOMPARE(added(3, "/in/子目录/qzrt_999999_C01.xm", row("999999", "C01", "无名", 'c')), QStringLiteral("finding"));
        QCOMPARE(added(4, "/x.xm", row("410101", "A02", "别名", 'd')), QStringLiteral("finding"));
        // A project code is told apart from another unit's same code.
        QCOMPARE(added(5, "/y.xm", row("410102", "A01", "", 'e')), QStringLiteral("finding"));
        // A unit file after its report: missing so far, but not in the end.
        QCOMPARE(added(6, "/z.xm", row("410103", "Z01", "后来的博物馆", 'f')), QStringLiteral("finding"));
        unit.unitCode = QStringLiteral("410103");
        unit.unitName = QStringLiteral("后来的博物馆");
        cross.addUnit(7, QStringLiteral("/z/410103.dw"), unit);
        // A second unit file of a unit under another name: said of the second, which is no
        // report; the same name again says nothing.
        cross.addUnit(8, QStringLiteral("/b/410103.dw"), unit);
        unit.unitName = QStringLiteral("另一个名称");
        cross.addUnit(9, QStringLiteral("/c/410103.dw"), unit);
        QVERIFY(cross.isUnitFile(9) && !cross.isUnitFile(6));

        QStringList found;
        for (const auto& [order, f] : cross.findings())
            found << QString::number(order) + QLatin1Char('|') + f.path + QLatin1Char('|') + f.kind + QLatin1Char('|') + f.message;
        const QString same = QStringLiteral("单位编码“410101”、项目编号“A01”与“%1”相同，内容不同");
        QCOMPARE(found, (QStringList{
            QStringLiteral("0|/in/qzrt_410101_A01.xm|重复项目|") + same.arg(QStringLiteral("项目甲.xm")),
            QStringLiteral("2|项目甲.xm|重复项目|") + same.arg(QStringLiteral("/in/qzrt_410101_A01.xm")),
            QStringLiteral("3|/in/子目录/qzrt_999999_C01.xm|缺少单位文件|单位编码“999999”的单位信息文件不在所检查的文件中"),
            QStringLiteral("4|/x.xm|单位名称不符|报表中的单位名称“别名”与单位信息文件中的“测试博物馆”不同"),
            QStringLiteral("5|/y.xm|缺少单位文件|单位编码“410102”的单位信息文件不在所检查的文件中"),
            QStringLiteral("9|/c/410103.dw|单位名称不符|单位名称“另一个名称”与同一单位的“/z/410103.dw”中的“后来的博物馆”不同"),
        }));
    }
};

QTEST_MAIN(TestCheckParts)
#include "test_check_parts.moc"
