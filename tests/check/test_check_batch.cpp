// The batch checker end to end: a corpus saved by the report window plus copies broken
// in known ways; every finding must be reported and nothing else, the workbook must
// hold the expected rows and exact sums, and the command line its exit statuses.
#include "CheckCorpus.h"
#include "check/CheckRun.h"
#include "check/CheckSink.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kRule1 = QStringLiteral("项目预算情况中各项的总计金额应大于等于各项中央投入金额");
const QString kRule2 = QStringLiteral("项目资金需求情况中十一五期间资金需求合计应大于等于各年中央与地方投入之总和");
const QString kRule3 = QStringLiteral("项目资金需求情况中十一五期间资金需求合计应大于项目预算情况中各项总计之合");
const QString kRule4 = QStringLiteral("项目资金需求情况中十一五期间资金需求各年中央累计投入应大于项目预算情况中各项中央投入之合");
const QString kPrep = QStringLiteral("//Report/BudgetDetail/RelicRepairment/Preparation/");

class CollectingSink : public CheckSink {
public:
    QStringList findings; // "file|kind|message", file relative to the corpus
    QString root;
    qint64 files = 0;
    void add(const CheckFinding& f)
    {
        QString path = f.path;
        path.remove(root + QLatin1Char('/'));
        // An unreadable file's reason comes from the parser; its kind and file are what count.
        findings << path + QLatin1Char('|') + f.kind + QLatin1Char('|')
                        + (f.kind == QStringLiteral("无法读取") ? QString() : f.message);
    }
    void fileChecked(const FileResult& result) override
    {
        ++files;
        for (const CheckFinding& f : result.findings)
            add(f);
    }
    void crossFindings(const std::vector<std::pair<qint64, CheckFinding>>& found) override
    {
        for (const auto& [order, f] : found)
            add(f);
    }
};

QString checkProgram()
{
    return QStringLiteral(VANTREL_BINARY_DIR "/vantrel-check");
}

} // namespace

class TestCheckBatch : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString corpus, good, outside;
    QStringList expected;

    QString in(const QString& name) const { return corpus + QLatin1Char('/') + name; }

    int runCheck(const QStringList& args, QByteArray* out = nullptr, QByteArray* err = nullptr)
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QLatin1String(name));
        process.setProcessEnvironment(env);
        process.start(checkProgram(), args);
        if (!process.waitForFinished(240000))
            return -1;
        if (out)
            *out = process.readAllStandardOutput();
        if (err)
            *err = process.readAllStandardError();
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        corpus = dir.filePath(QStringLiteral("corpus"));
        good = dir.filePath(QStringLiteral("good"));
        outside = dir.filePath(QStringLiteral("outside"));
        QDir().mkpath(outside);
        using R = CheckCorpus::Report;
        const QList<QByteArray> saved = CheckCorpus::saveReports({
            R{QStringLiteral("A01"), QStringLiteral("城墙维修"), 1,
              {{"Text32", "100.1"}, {"Text12(0)", "30.05"}, {"Text13(0)", "20"}, {"Text17(0)", "50"}, {"Text18(0)", "30"}}},
            R{QStringLiteral("A02"), QStringLiteral("遗址发掘"), 5,
              {{"Text32", "0.2"}, {"Text12(1)", "0.1"}, {"Text13(1)", "0.1"}, {"Text17(1)", "0.2"}, {"Text18(1)", "0.1"}}},
            R{QStringLiteral("A03"), QStringLiteral("消防改造"), 15, {{"Text32", "0.1"}, {"Text12(2)", "0.1"}}},
        });
        QCOMPARE(saved.size(), 3);
        for (const QByteArray& bytes : saved)
            QVERIFY(bytes.startsWith("<?xml"));
        const QByteArray& r1 = saved[0];
        const QByteArray unit = CheckCorpus::unitFile(QStringLiteral("410101"), QStringLiteral("测试博物馆"),
                                                      {10, 0, 0, 0}, {10, 0, 0, 0}, QStringLiteral("100"));
        // The good ones alone, for exit status 0 and exact totals.
        CheckCorpus::writeFile(good + QStringLiteral("/qzrt_410101_A01.xm"), saved[0]);
        CheckCorpus::writeFile(good + QStringLiteral("/qzrt_410101_A02.xm"), saved[1]);
        CheckCorpus::writeFile(good + QStringLiteral("/qzrt_410101_A03.xm"), saved[2]);
        CheckCorpus::writeFile(good + QStringLiteral("/410101.dw"), unit);

        const auto variant = [&](const QByteArray& base, const QString& code, CheckCorpus::Edits edits) {
            edits << qMakePair(QStringLiteral("//Report/BasicInfo/ProjectID"), code);
            CheckCorpus::writeFile(in(QStringLiteral("qzrt_410101_") + code + QStringLiteral(".xm")),
                                   CheckCorpus::edited(base, edits));
        };
        const auto expect = [&](const QString& file, const char* kind, const QString& message) {
            expected << file + QLatin1Char('|') + QString::fromUtf8(kind) + QLatin1Char('|') + message;
        };
        for (int i = 0; i < 3; ++i)
            CheckCorpus::writeFile(in(QStringLiteral("qzrt_410101_A0%1.xm").arg(i + 1)), saved[i]);
        CheckCorpus::writeFile(in(QStringLiteral("410101.dw")), unit);
        CheckCorpus::writeFile(in(QStringLiteral("说明.txt")), "not a report\n");

        variant(r1, QStringLiteral("B01"), {{kPrep + QStringLiteral("State"), QStringLiteral("60")}});
        expect(QStringLiteral("qzrt_410101_B01.xm"), "预算规则", kRule1);
        variant(r1, QStringLiteral("B02"), {{QStringLiteral("//Report/FundDemand/Demand/State/Year2006"), QStringLiteral("90")}});
        expect(QStringLiteral("qzrt_410101_B02.xm"), "预算规则", kRule2);
        variant(r1, QStringLiteral("B03"), {{QStringLiteral("//Report/FundDemand/Demand/Total"), QStringLiteral("60")},
                                            {kPrep + QStringLiteral("Total"), QStringLiteral("65")}});
        expect(QStringLiteral("qzrt_410101_B03.xm"), "预算规则", kRule3);
        variant(r1, QStringLiteral("B04"), {{kPrep + QStringLiteral("State"), QStringLiteral("40")}});
        expect(QStringLiteral("qzrt_410101_B04.xm"), "预算规则", kRule4);
        variant(r1, QStringLiteral("B05"), {{QStringLiteral("//Report/FundDemand/Demand/Local/Year2010"), QStringLiteral("12a")}});
        expect(QStringLiteral("qzrt_410101_B05.xm"), "金额不是数字", QStringLiteral("//Report/FundDemand/Demand/Local/Year2010 的值为“12a”"));
        variant(r1, QStringLiteral("B09"), {{QStringLiteral("//Report/ReportInfo/CorpName"), QStringLiteral("别的博物馆")}});
        expect(QStringLiteral("qzrt_410101_B09.xm"), "单位名称不符", QStringLiteral("报表中的单位名称“别的博物馆”与单位信息文件中的“测试博物馆”不同"));
        variant(r1, QStringLiteral("B10"), {{QStringLiteral("//Report/BasicInfo/ProjectType"), QStringLiteral("99")}});
        expect(QStringLiteral("qzrt_410101_B10.xm"), "项目类别无效", QStringLiteral("项目类别代码“99”不在列表中"));

        // The same report under another name: only the name is wrong (same content, no duplicate).
        CheckCorpus::writeFile(in(QStringLiteral("报表副本.xm")), r1);
        expect(QStringLiteral("报表副本.xm"), "文件名不符", QStringLiteral("标准文件名应为“qzrt_410101_A01.xm”"));
        // One project twice with different figures: both files are named.
        CheckCorpus::writeFile(in(QStringLiteral("sub/qzrt_410101_A02.xm")),
                               CheckCorpus::edited(saved[1], {{QStringLiteral("//Report/BasicInfo/ProjectName"), QStringLiteral("另一个名称")}}));
        const QString same = QStringLiteral("单位编码“410101”、项目编号“A02”与“%1”相同，内容不同");
        expect(QStringLiteral("qzrt_410101_A02.xm"), "重复项目", same.arg(in(QStringLiteral("sub/qzrt_410101_A02.xm"))));
        expect(QStringLiteral("sub/qzrt_410101_A02.xm"), "重复项目", same.arg(in(QStringLiteral("qzrt_410101_A02.xm"))));
        // A unit that sent no unit file.
        CheckCorpus::writeFile(in(QStringLiteral("qzrt_999999_C01.xm")),
                               CheckCorpus::edited(saved[2], {{QStringLiteral("//Report/ReportInfo/CorpID"), QStringLiteral("999999")},
                                                              {QStringLiteral("//Report/BasicInfo/ProjectID"), QStringLiteral("C01")}}));
        expect(QStringLiteral("qzrt_999999_C01.xm"), "缺少单位文件", QStringLiteral("单位编码“999999”的单位信息文件不在所检查的文件中"));
        // A unit file whose second class does not add up.
        CheckCorpus::writeFile(in(QStringLiteral("units/410102.dw")),
                               CheckCorpus::unitFile(QStringLiteral("410102"), QStringLiteral("第二博物馆"), {0, 10, 0, 0}, {0, 9, 0, 0},
                                                     QStringLiteral("10")));
        expect(QStringLiteral("units/410102.dw"), "藏品数量", QStringLiteral("二级品总数应等于完好数量+加一般受损数量+严重受损数量"));
        // Hostile and broken files are unreadable, never a crash.
        CheckCorpus::writeFile(in(QStringLiteral("qzrt_410101_H01.xm")),
                               "<?xml version=\"1.0\"?><!DOCTYPE Report [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;\">]>"
                               "<Report><BasicInfo><ProjectID>&b;</ProjectID></BasicInfo></Report>");
        expect(QStringLiteral("qzrt_410101_H01.xm"), "无法读取", QString());
        CheckCorpus::writeFile(in(QStringLiteral("qzrt_410101_H02.xm")), "<?xml version=\"1.0\"?><Report><BasicInfo></Report>");
        expect(QStringLiteral("qzrt_410101_H02.xm"), "无法读取", QString());
        // A zip whose entries try to leave the folder: read by content, never written.
        const QByteArray z1 = CheckCorpus::edited(r1, {{QStringLiteral("//Report/BasicInfo/ProjectID"), QStringLiteral("Z01")}});
        const QByteArray z2 = CheckCorpus::edited(r1, {{QStringLiteral("//Report/BasicInfo/ProjectID"), QStringLiteral("Z02")},
                                                       {kPrep + QStringLiteral("State"), QStringLiteral("51")}});
        QVERIFY(CheckCorpus::writeZip(in(QStringLiteral("zip/bundle.zip")),
                                      {{QStringLiteral("../../outside/qzrt_410101_Z01.xm"), z1},
                                       {outside + QStringLiteral("/qzrt_410101_Z02.xm"), z2}}));
        expect(QStringLiteral("zip/bundle.zip:") + outside + QStringLiteral("/qzrt_410101_Z02.xm"), "预算规则", kRule1);
    }

    void everyFindingAndNothingElse()
    {
        CollectingSink sink;
        sink.root = corpus;
        CheckRun run({corpus});
        run.addSink(&sink);
        const CheckTally tally = run.run();
        QStringList found = sink.findings;
        QStringList wanted = expected;
        found.sort();
        wanted.sort();
        if (found != wanted)
            qWarning().noquote() << "found:\n" << found.join(QLatin1Char('\n')) << "\nexpected:\n" << wanted.join(QLatin1Char('\n'));
        QCOMPARE(found, wanted);
        // 3 good + 7 variants + copy + duplicate + missing unit + 2 unreadable + 2 in the zip.
        QCOMPARE(tally.reports, 17);
        QCOMPARE(tally.unreadable, 2);
        QCOMPARE(tally.passed, 3); // A01, A03 and the zip's Z01
        QCOMPARE(tally.failed, 12);
        QCOMPARE(tally.unitFiles, 2);
        QCOMPARE(tally.findings, expected.size());
        QVERIFY(QDir(outside).isEmpty());
        // The text file is passed over, and said so.
        QCOMPARE(tally.ignored, 1);
        QCOMPARE(tally.closingLine(), QStringLiteral("共 17 份报表，通过 3，未通过 12，无法读取 2，跳过其他文件 1"));
    }

    void rowOrderIsTheSameWithOneWorkerOrMany()
    {
        QStringList orders[2];
        for (int workers : {1, 4}) {
            CollectingSink sink;
            sink.root = corpus;
            CheckRun run({corpus});
            run.setWorkers(workers);
            run.addSink(&sink);
            run.run();
            orders[workers == 1 ? 0 : 1] = sink.findings;
        }
        QCOMPARE(orders[0], orders[1]);
    }

    // More files than the run holds at once: the walk waits for room and delivery for
    // batches; every file must still come out once, in order, whatever the threads.
    void manyFilesComeOutOnceInOrder()
    {
        const QString folder = dir.filePath(QStringLiteral("many"));
        QVERIFY(QDir().mkpath(folder));
        const int count = 3 * CheckRun::kWindow + 7;
        for (int i = 0; i < count; ++i)
            CheckCorpus::writeFile(folder + QStringLiteral("/%1.txt").arg(i, 4, 10, QLatin1Char('0')), QByteArray::number(i));
        struct OrderSink : CheckSink {
            QList<qint64> orders;
            void fileChecked(const FileResult& result) override { orders << result.order; }
        };
        for (int workers : {1, 3}) {
            OrderSink sink;
            CheckRun run({folder});
            run.setWorkers(workers);
            run.addSink(&sink);
            const CheckTally tally = run.run();
            QCOMPARE(tally.ignored, count);
            QCOMPARE(sink.orders.size(), count);
            for (int i = 0; i < count; ++i)
                QCOMPARE(sink.orders[i], i);
        }
    }

    void commandLineExitStatusesAndClosingLine()
    {
        QByteArray out, err;
        QCOMPARE(runCheck({good}, &out), 0);
        QCOMPARE(QString::fromUtf8(out), QStringLiteral("共 3 份报表，通过 3，未通过 0，无法读取 0\n"));
        QCOMPARE(runCheck({corpus}, &out), 1);
        QVERIFY(out.endsWith(QStringLiteral("共 17 份报表，通过 3，未通过 12，无法读取 2，跳过其他文件 1\n").toUtf8()));
        QCOMPARE(out.count('\n'), expected.size() + 1);
        QCOMPARE(runCheck({QStringLiteral("--quiet"), corpus}, &out), 1);
        QCOMPARE(out.count('\n'), 1);
        QCOMPARE(runCheck({QStringLiteral("--bogus"), corpus}, nullptr, &err), 2);
        QVERIFY(QString::fromUtf8(err).contains(QStringLiteral("未知选项")));
        QCOMPARE(runCheck({}, nullptr, &err), 2);       // no paths and no display
        QCOMPARE(runCheck({dir.filePath(QStringLiteral("missing"))}), 2);
        QCOMPARE(runCheck({QStringLiteral("--help")}, &out), 0);
        QVERIFY(QString::fromUtf8(out).contains(QStringLiteral("退出状态")));
        // An output that is one of the inputs is refused before anything is written.
        const QString input = good + QStringLiteral("/qzrt_410101_A01.xm");
        const QByteArray before = QFileInfo(input).lastModified().toString().toUtf8();
        QCOMPARE(runCheck({QStringLiteral("--xlsx"), input, good}), 2);
        QCOMPARE(QFileInfo(input).lastModified().toString().toUtf8(), before);
    }

    // The same report in the folder and in a zip is one project: listed twice, totalled once,
    // and no finding (only different content under one project code is a conflict).
    void anIdenticalCopyIsTotalledOnce()
    {
        const QString folder = dir.filePath(QStringLiteral("copies"));
        QVERIFY(QDir().mkpath(folder));
        for (const QString& name : QDir(good).entryList(QDir::Files))
            QVERIFY(QFile::copy(good + QLatin1Char('/') + name, folder + QLatin1Char('/') + name));
        QFile original(good + QStringLiteral("/qzrt_410101_A01.xm"));
        QVERIFY(original.open(QIODevice::ReadOnly));
        QVERIFY(CheckCorpus::writeZip(folder + QStringLiteral("/resent.zip"), {{QStringLiteral("qzrt_410101_A01.xm"), original.readAll()}}));
        const QString csv = dir.filePath(QStringLiteral("copies-csv"));
        QByteArray out;
        QCOMPARE(runCheck({QStringLiteral("--csv"), csv, folder}, &out), 0);
        QCOMPARE(QString::fromUtf8(out), QStringLiteral("共 4 份报表，通过 4，未通过 0，无法读取 0\n"));
        QFile summary(csv + QStringLiteral("/summary.csv"));
        QVERIFY(summary.open(QIODevice::ReadOnly));
        QByteArray total;
        for (const QByteArray& line : summary.readAll().split('\n')) {
            if (line.startsWith(QStringLiteral("合计").toUtf8()))
                total = line;
        }
        // Three projects, 100.1 + 0.2 + 0.1 as before the copy came.
        QVERIFY2(total.startsWith(QStringLiteral("合计,,全部报表,3,100.4,").toUtf8()), total.constData());
        QFile projects(csv + QStringLiteral("/projects.csv"));
        QVERIFY(projects.open(QIODevice::ReadOnly));
        QCOMPARE(projects.readAll().count('\n'), 5); // the header and four rows
    }

    // The workbook takes the projects while the files are checked, with the verdicts the
    // files so far give. A unit file read after its reports changes them: the workbook is
    // then written afresh. Either way it must hold what the CSV files (written at the end) hold.
    void earlyVerdictsStandOrAreRedone()
    {
        const QString early = dir.filePath(QStringLiteral("early"));
        const QString late = dir.filePath(QStringLiteral("late"));
        QFile source(good + QStringLiteral("/qzrt_410101_A03.xm"));
        QVERIFY(source.open(QIODevice::ReadOnly));
        const QByteArray a03 = source.readAll();
        const QByteArray unknownUnit = CheckCorpus::edited(a03, {{QStringLiteral("//Report/ReportInfo/CorpID"), QStringLiteral("999999")},
                                                                 {QStringLiteral("//Report/BasicInfo/ProjectID"), QStringLiteral("C01")}});
        for (const QString& name : QDir(good).entryList(QDir::Files)) {
            QFile file(good + QLatin1Char('/') + name);
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray bytes = file.readAll();
            // Unit files sort before reports in "early", after them in "late".
            const bool unit = name.endsWith(QLatin1String(".dw"));
            CheckCorpus::writeFile(early + (unit ? QStringLiteral("/a/") : QStringLiteral("/b/")) + name, bytes);
            CheckCorpus::writeFile(late + (unit ? QStringLiteral("/b/") : QStringLiteral("/a/")) + name, bytes);
        }
        CheckCorpus::writeFile(early + QStringLiteral("/b/qzrt_999999_C01.xm"), unknownUnit);
        CheckCorpus::writeFile(late + QStringLiteral("/a/qzrt_999999_C01.xm"), unknownUnit);
        for (const QString& folder : {early, late}) {
            const QString xlsx = folder + QStringLiteral(".xlsx");
            const QString csv = folder + QStringLiteral("-csv");
            QByteArray out;
            QCOMPARE(runCheck({QStringLiteral("--xlsx"), xlsx, QStringLiteral("--csv"), csv, folder}, &out), 1);
            QVERIFY2(out.startsWith(folder.toUtf8() + "/b/qzrt_999999_C01.xm") || out.startsWith(folder.toUtf8() + "/a/qzrt_999999_C01.xm"),
                     out.constData());
            QCOMPARE(out.count('\n'), 2); // the missing unit file and the closing line
            QProcess python;
            python.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral(VANTREL_SOURCE_DIR "/tests/check/verify_workbook.py"), xlsx, csv,
                                                              QStringLiteral("4"), QStringLiteral("1"), QStringLiteral("1")});
            QVERIFY(python.waitForFinished(120000));
            QVERIFY2(python.exitCode() == 0, (python.readAllStandardOutput() + python.readAllStandardError()).constData());
        }
    }

    void workbookHoldsTheRowsAndExactSums()
    {
        for (const auto& [folder, name] : {std::pair{good, QStringLiteral("good")}, std::pair{corpus, QStringLiteral("corpus")}}) {
            const QString xlsx = dir.filePath(name + QStringLiteral(".xlsx"));
            const QString csv = dir.filePath(name + QStringLiteral("-csv"));
            QVERIFY(runCheck({QStringLiteral("--quiet"), QStringLiteral("--xlsx"), xlsx, QStringLiteral("--csv"), csv, folder}) >= 0);
            QVERIFY(QFileInfo::exists(xlsx));
            // Leaves no temporary file beside the workbook.
            QCOMPARE(QDir(dir.path()).entryList({QStringLiteral(".*.tmp")}, QDir::Files | QDir::Hidden), QStringList());
            // Sheets: projects, units, findings rows; the grand total's 2006–2010 demand.
            const QStringList expectations = name == QLatin1String("good")
                ? QStringList{QStringLiteral("3"), QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("100.4")}
                : QStringList{QStringLiteral("15"), QStringLiteral("2"), QString::number(expected.size()), QString()};
            QProcess python;
            python.start(QStringLiteral("/usr/bin/python3"), QStringList{QStringLiteral(VANTREL_SOURCE_DIR "/tests/check/verify_workbook.py"), xlsx, csv}
                                                        + expectations);
            QVERIFY(python.waitForFinished(120000));
            QVERIFY2(python.exitCode() == 0, (python.readAllStandardOutput() + python.readAllStandardError()).constData());
        }
    }
};

QTEST_MAIN(TestCheckBatch)
#include "test_check_batch.moc"
