// The unit's side of a submission without any window: a local folder checked with the
// batch checker's rules, packed with pages and a manifest, then checked by the bureau's
// batch checker: the package passes; altered, removed and added files are each found.
#include "CheckCorpus.h"
#include "TempProgramFolder.h"
#include "check/ArchiveReader.h"
#include "check/CheckRun.h"
#include "check/CheckSink.h"
#include "check/PackageVerifier.h"
#include "check/SubmissionCheck.h"
#include "check/SubmissionManifest.h"
#include "check/SubmissionPackage.h"
#include "Version.h"
#include "core/AtomicFileWriter.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using Entry = CheckCorpus::Entry;

namespace {

const QString kUnit = QStringLiteral("410101");
const QString kUnitName = QStringLiteral("测试博物馆");

struct BureauSink : CheckSink {
    QStringList findings; // "path|kind|message"
    int manifests = 0;
    void fileChecked(const FileResult& result) override
    {
        manifests += result.status == FileResult::Status::Manifest;
        for (const CheckFinding& f : result.findings)
            findings << f.path + QLatin1Char('|') + f.kind + QLatin1Char('|') + f.message;
    }
    void crossFindings(const std::vector<std::pair<qint64, CheckFinding>>& found) override
    {
        for (const auto& [order, f] : found)
            findings << f.path + QLatin1Char('|') + f.kind + QLatin1Char('|') + f.message;
    }
};

BureauSink bureauCheck(const QString& path)
{
    BureauSink sink;
    CheckRun run({path});
    run.addSink(&sink);
    run.run();
    return sink;
}

QList<Entry> entriesOf(const QString& zip)
{
    QFile file(zip);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("no package");
    const QByteArray bytes = file.readAll();
    std::unique_ptr<ArchiveReader> reader = ArchiveReader::openBytes(bytes);
    QList<Entry> entries;
    while (reader->next()) {
        Entry entry{reader->name(), {}};
        char buffer[65536];
        qint64 got = 0;
        while ((got = reader->read(buffer, sizeof buffer)) > 0)
            entry.bytes.append(buffer, got);
        entries << entry;
    }
    return entries;
}

} // namespace

class TestSubmissionPackage : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString local;
    QList<QByteArray> saved;
    const QDate date{2024, 5, 6};

    SubmissionPackage::Details details() const
    {
        return {kUnit, kUnitName, date, TempProgramFolder::templatesDir()};
    }

private slots:
    void initTestCase()
    {
        local = dir.filePath(QStringLiteral("local"));
        saved = CheckCorpus::saveReports({
            {QStringLiteral("A01"), QStringLiteral("城墙维修"), 1, {{"Text32", "100.1"}, {"Text12(0)", "30.05"}, {"Text13(0)", "20"}}},
            {QStringLiteral("A02"), QStringLiteral("遗址发掘"), 5, {{"Text32", "0.2"}, {"Text12(1)", "0.1"}}},
        });
        QCOMPARE(saved.size(), 2);
        CheckCorpus::writeFile(local + QStringLiteral("/qzrt_410101_A01.xm"), saved[0]);
        CheckCorpus::writeFile(local + QStringLiteral("/qzrt_410101_A02.xm"), saved[1]);
        CheckCorpus::writeFile(local + QStringLiteral("/410101.dw"),
                               CheckCorpus::unitFile(kUnit, kUnitName, {10, 0, 0, 0}, {10, 0, 0, 0}, QStringLiteral("100")));
        // Neither a report of this folder nor this unit's file: never checked, never packed.
        CheckCorpus::writeFile(local + QStringLiteral("/410102.dw"), "<CorpInfo/>");
        CheckCorpus::writeFile(local + QStringLiteral("/sub/qzrt_410101_Z01.xm"), saved[0]);
    }

    void proposedName()
    {
        QCOMPARE(SubmissionPackage::proposedFileName(kUnit, kUnitName, date), QStringLiteral("410101_测试博物馆_20240506.zip"));
        QCOMPARE(SubmissionPackage::proposedFileName(kUnit, QStringLiteral(" 省/市:馆*? "), date),
                 QStringLiteral("410101_省_市_馆___20240506.zip"));
        QCOMPARE(SubmissionPackage::proposedFileName(kUnit, QStringLiteral("馆..."), date), QStringLiteral("410101_馆_20240506.zip"));
        QCOMPARE(SubmissionPackage::proposedFileName(kUnit, QString(), date), QStringLiteral("410101_20240506.zip"));
        // Cut to 60 characters, never inside one written as two UTF-16 units.
        QCOMPARE(SubmissionPackage::proposedFileName(kUnit, QString(59, QChar(0x6587)) + QStringLiteral("𠀀号"), date),
                 QStringLiteral("410101_") + QString(59, QChar(0x6587)) + QStringLiteral("_20240506.zip"));
    }

    // A unit file saved under a report's name is packed as the unit file it is, as the
    // bureau reads it; a report named like the unit's page would give two entries of one
    // name, which the bureau could not match to the manifest: refused, with why.
    void filesPackedAsWhatTheyHold()
    {
        const QString folder = dir.filePath(QStringLiteral("odd"));
        CheckCorpus::writeFile(folder + QStringLiteral("/qzrt_410101_A01.xm"), saved[0]);
        const QByteArray unit = CheckCorpus::unitFile(kUnit, kUnitName, {10, 0, 0, 0}, {10, 0, 0, 0}, QStringLiteral("100"));
        CheckCorpus::writeFile(folder + QStringLiteral("/单位信息副本.xm"), unit);
        SubmissionCheck checked = SubmissionCheck::run(folder, kUnit);
        QCOMPARE(checked.reportCount(), 1);
        QVERIFY(!checked.hasUnitFile()); // the unit's own file is still missing
        const QString zip = dir.filePath(QStringLiteral("odd.zip"));
        QString error;
        QVERIFY2(SubmissionPackage::write(checked, zip, details(), &error), qPrintable(error));
        const auto manifest = SubmissionManifest::fromXml(entriesOf(zip)[0].bytes, &error);
        QVERIFY2(manifest, qPrintable(error));
        QCOMPARE(manifest->files[2].path, QStringLiteral("单位信息副本.xm"));
        QCOMPARE(manifest->files[2].role, QStringLiteral("unit"));
        QCOMPARE(bureauCheck(zip).findings.filter(PackageVerifier::kind()), QStringList());

        CheckCorpus::writeFile(folder + QStringLiteral("/410101.dw"), unit);
        CheckCorpus::writeFile(folder + QStringLiteral("/410101.xm"), saved[0]);
        checked = SubmissionCheck::run(folder, kUnit);
        QVERIFY(!SubmissionPackage::write(checked, zip, details(), &error));
        QCOMPARE(error, QStringLiteral("本地文件夹中有两个文件的页面都叫“410101.htm”。请把不是标准文件名的报表改名后再打包。"));
    }

    void manifestRoundTrip()
    {
        SubmissionManifest manifest;
        manifest.unitCode = kUnit;
        manifest.unitName = QStringLiteral("A&B <馆>");
        manifest.date = date;
        manifest.programVersion = QStringLiteral("1.1.1");
        manifest.files.push_back({QStringLiteral("qzrt_410101_A01.xm"), 12, QByteArray(32, '\x7f'), QStringLiteral("report"),
                                  QStringLiteral("A01"), QStringLiteral("failed"), QStringLiteral("100.1")});
        QString error;
        const auto back = SubmissionManifest::fromXml(manifest.toXml(), &error);
        QVERIFY2(back, qPrintable(error));
        QCOMPARE(back->unitName, manifest.unitName);
        QCOMPARE(back->date, date);
        QCOMPARE(back->files.size(), size_t(1));
        QCOMPARE(back->files[0].sha256, manifest.files[0].sha256);
        QCOMPARE(back->files[0].verdict, QStringLiteral("failed"));
        QCOMPARE(back->files[0].demandTotal, QStringLiteral("100.1"));

        QByteArray broken = manifest.toXml();
        broken.replace(QByteArray(32, '\x7f').toHex(), "not-a-hash");
        QVERIFY(!SubmissionManifest::fromXml(broken, &error));
        QVERIFY2(error.startsWith(QStringLiteral("清单第 ")), qPrintable(error));
        QVERIFY(!SubmissionManifest::fromXml("<?xml version=\"1.0\"?><!DOCTYPE x [<!ENTITY a \"b\">]><SubmissionManifest version=\"1\"/>", &error));
        QCOMPARE(error, QStringLiteral("文件含有文档类型声明（DOCTYPE），为安全起见不予读取"));
    }

    // The unit's check, the package, the bureau's check: passes. Then the same package
    // with one file altered, one removed and one added, the manifest moved to the end.
    void packageRoundTrip()
    {
        const SubmissionCheck checked = SubmissionCheck::run(local, kUnit);
        QStringList names;
        for (const SubmissionCheck::File& file : checked.files()) {
            names << file.name;
            QVERIFY2(file.findings.isEmpty(), qPrintable(file.name + QLatin1Char(' ') + file.findings.value(0).message));
        }
        QCOMPARE(names, (QStringList{QStringLiteral("qzrt_410101_A01.xm"), QStringLiteral("qzrt_410101_A02.xm"), QStringLiteral("410101.dw")}));
        QCOMPARE(checked.failedCount(), 0);
        QVERIFY(checked.hasUnitFile());
        QCOMPARE(checked.files()[0].projectName, QStringLiteral("城墙维修"));
        QCOMPARE(checked.files()[0].demandTotal, QStringLiteral("100.1"));

        const QString zip = dir.filePath(SubmissionPackage::proposedFileName(kUnit, kUnitName, date));
        QString error;
        QVERIFY2(SubmissionPackage::write(checked, zip, details(), &error), qPrintable(error));
        const QList<Entry> entries = entriesOf(zip);
        QStringList inZip;
        for (const Entry& e : entries)
            inZip << e.name;
        QCOMPARE(inZip, (QStringList{QStringLiteral("清单.xml"), QStringLiteral("qzrt_410101_A01.xm"), QStringLiteral("qzrt_410101_A01.htm"),
                                     QStringLiteral("qzrt_410101_A02.xm"), QStringLiteral("qzrt_410101_A02.htm"),
                                     QStringLiteral("410101.dw"), QStringLiteral("410101.htm")}));
        QCOMPARE(entries[1].bytes, saved[0]);
        QVERIFY(entries[2].bytes.contains("城墙维修"));
        QVERIFY(entries[6].bytes.contains(kUnitName.toUtf8()));
        const auto manifest = SubmissionManifest::fromXml(entries[0].bytes, &error);
        QVERIFY2(manifest, qPrintable(error));
        QCOMPARE(manifest->unitCode, kUnit);
        QCOMPARE(manifest->programVersion, QStringLiteral(VANTREL_VERSION));
        QCOMPARE(manifest->files.size(), size_t(6));
        QCOMPARE(manifest->files[0].sha256, QCryptographicHash::hash(saved[0], QCryptographicHash::Sha256));
        QCOMPARE(manifest->files[0].verdict, QStringLiteral("passed"));
        QCOMPARE(manifest->files[4].role, QStringLiteral("unit"));

        BureauSink passed = bureauCheck(zip);
        QCOMPARE(passed.findings, QStringList());
        QCOMPARE(passed.manifests, 1);

        QList<Entry> tampered = entries.mid(1);
        tampered.append(entries[0]);                                            // manifest last
        tampered[0].bytes.replace("城墙维修", "城墙修缮");                       // altered
        tampered.removeAt(3);                                                    // A02's page removed
        tampered.insert(2, Entry{QStringLiteral("readme.txt"), "added later"}); // added
        const QString changed = dir.filePath(QStringLiteral("changed.zip"));
        CheckCorpus::writeFile(changed, CheckCorpus::archiveBytes(CheckCorpus::Format::Zip, tampered));
        const BureauSink found = bureauCheck(changed);
        QStringList mismatches = found.findings.filter(PackageVerifier::kind());
        QCOMPARE(mismatches.size(), 3);
        QVERIFY2(mismatches[0].startsWith(changed + QStringLiteral(":qzrt_410101_A01.xm|报送包内容与清单不符|文件与清单不同：清单记录 ")),
                 qPrintable(mismatches[0]));
        QCOMPARE(mismatches[1], changed + QStringLiteral(":qzrt_410101_A02.htm|报送包内容与清单不符|清单中的文件不在报送包中"));
        QCOMPARE(mismatches[2], changed + QStringLiteral(":readme.txt|报送包内容与清单不符|报送包中的文件不在清单中"));
        QCOMPARE(found.findings.size(), 3); // the altered report itself still passes every rule
    }

    // A city sends its units' packages unpacked, side by side, in one zip: each folder is
    // held against its own manifest, whether that comes first or last.
    void packagesSideBySide()
    {
        const SubmissionCheck checked = SubmissionCheck::run(local, kUnit);
        const QString zip = dir.filePath(QStringLiteral("one.zip"));
        QString error;
        QVERIFY2(SubmissionPackage::write(checked, zip, details(), &error), qPrintable(error));
        const QList<Entry> entries = entriesOf(zip);
        QList<Entry> city;
        for (const Entry& e : entries)
            city << Entry{QStringLiteral("县甲/") + e.name, e.bytes};
        for (const Entry& e : entries.mid(1))
            city << Entry{QStringLiteral("县乙/") + e.name, e.bytes};
        city << Entry{QStringLiteral("县乙/") + entries[0].name, entries[0].bytes}; // its manifest last
        const QString together = dir.filePath(QStringLiteral("city.zip"));
        CheckCorpus::writeFile(together, CheckCorpus::archiveBytes(CheckCorpus::Format::Zip, city));
        const BureauSink clean = bureauCheck(together);
        QCOMPARE(clean.manifests, 2);
        QCOMPARE(clean.findings, QStringList());

        city[city.size() - 3].bytes += ' '; // 县乙's unit file
        CheckCorpus::writeFile(together, CheckCorpus::archiveBytes(CheckCorpus::Format::Zip, city));
        const QStringList found = bureauCheck(together).findings.filter(PackageVerifier::kind());
        QCOMPARE(found.size(), 1);
        QVERIFY2(found[0].startsWith(together + QStringLiteral(":县乙/410101.dw|")), qPrintable(found[0]));
    }

    // Two unit files of one unit naming it differently: said of the second; its report,
    // held against the first, still passes and is counted so.
    void secondUnitFileUnderAnotherName()
    {
        const QString folder = dir.filePath(QStringLiteral("twounits"));
        CheckCorpus::writeFile(folder + QStringLiteral("/qzrt_410101_A01.xm"), saved[0]);
        CheckCorpus::writeFile(folder + QStringLiteral("/a/410101.dw"),
                               CheckCorpus::unitFile(kUnit, kUnitName, {10, 0, 0, 0}, {10, 0, 0, 0}, QStringLiteral("100")));
        CheckCorpus::writeFile(folder + QStringLiteral("/b/410101.dw"),
                               CheckCorpus::unitFile(kUnit, QStringLiteral("别的名称"), {10, 0, 0, 0}, {10, 0, 0, 0}, QStringLiteral("100")));
        BureauSink sink;
        CheckRun run({folder});
        run.addSink(&sink);
        const CheckTally tally = run.run();
        QCOMPARE(sink.findings, QStringList{folder + QStringLiteral("/b/410101.dw|单位名称不符|单位名称“别的名称”与同一单位的“")
                                            + folder + QStringLiteral("/a/410101.dw”中的“测试博物馆”不同")});
        QCOMPARE(tally.reports, 1);
        QCOMPARE(tally.passed, 1);
        QCOMPARE(tally.failed, 0);
    }

    // A report that fails still goes into the package, with its verdict; the clerk was told.
    void failedReportsArePackedWithTheirVerdict()
    {
        const QString folder = dir.filePath(QStringLiteral("failing"));
        QVERIFY(QDir().mkpath(folder));
        for (const QString& name : QDir(local).entryList({QStringLiteral("*.xm"), QStringLiteral("410101.dw")}, QDir::Files))
            QVERIFY(QFile::copy(local + QLatin1Char('/') + name, folder + QLatin1Char('/') + name));
        CheckCorpus::writeFile(folder + QStringLiteral("/qzrt_410101_B01.xm"),
                               CheckCorpus::edited(saved[1], {{QStringLiteral("//Report/BasicInfo/ProjectID"), QStringLiteral("B01")},
                                                              {QStringLiteral("//Report/FundDemand/Demand/Total"), QStringLiteral("0.01")}}));
        CheckCorpus::writeFile(folder + QStringLiteral("/qzrt_410101_B02.xm"), "<Report><BasicInfo></Report>");
        const SubmissionCheck checked = SubmissionCheck::run(folder, kUnit);
        QCOMPARE(checked.failedCount(), 2);
        QCOMPARE(checked.files()[2].verdict, SubmissionCheck::Verdict::Failed);
        QCOMPARE(checked.files()[3].verdict, SubmissionCheck::Verdict::Unreadable);
        QVERIFY(checked.files()[3].findings.value(0).message.startsWith(QStringLiteral("第 1 行第 ")));

        const QString zip = dir.filePath(QStringLiteral("failing.zip"));
        QString error;
        QVERIFY2(SubmissionPackage::write(checked, zip, details(), &error), qPrintable(error));
        const QList<Entry> entries = entriesOf(zip);
        const auto manifest = SubmissionManifest::fromXml(entries[0].bytes, &error);
        QVERIFY(manifest);
        QStringList verdicts;
        for (const SubmissionManifest::File& file : manifest->files)
            verdicts << file.path + QLatin1Char('=') + file.verdict;
        QVERIFY2(verdicts.contains(QStringLiteral("qzrt_410101_B01.xm=failed")), qPrintable(verdicts.join(QLatin1Char(' '))));
        QVERIFY(verdicts.contains(QStringLiteral("qzrt_410101_B02.xm=unreadable")));
        QVERIFY(!verdicts.contains(QStringLiteral("qzrt_410101_B02.htm=")));
        // The bureau finds the same as the unit was shown, and nothing about the package.
        const BureauSink bureau = bureauCheck(zip);
        QCOMPARE(bureau.findings.filter(PackageVerifier::kind()), QStringList());
        QCOMPARE(bureau.findings.size(), 2);
    }

    // A failed write leaves the older package byte for byte, and nothing beside it.
    void failedWriteKeepsTheOlderPackage()
    {
        const SubmissionCheck checked = SubmissionCheck::run(local, kUnit);
        const QString folder = dir.filePath(QStringLiteral("out"));
        const QString zip = folder + QStringLiteral("/p.zip");
        CheckCorpus::writeFile(zip, "the older package");
        AtomicFileWriter::injectFailureAfter(100);
        QString error;
        const bool written = SubmissionPackage::write(checked, zip, details(), &error);
        AtomicFileWriter::injectFailureAfter(-1);
        QVERIFY(!written);
        QVERIFY2(error.startsWith(QStringLiteral("无法写入文件") + zip + QStringLiteral("：")), qPrintable(error));
        QFile older(zip);
        QVERIFY(older.open(QIODevice::ReadOnly));
        QCOMPARE(older.readAll(), QByteArray("the older package"));
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("p.zip")});

        // Without its stylesheet no page can be made, so no package either.
        SubmissionPackage::Details noStylesheets = details();
        noStylesheets.programFolder = dir.filePath(QStringLiteral("empty"));
        QVERIFY(!SubmissionPackage::write(checked, zip, noStylesheets, &error));
        QCOMPARE(error, QStringLiteral("输出模板文件错误，请重新安装"));
        QVERIFY(!SubmissionPackage::write(SubmissionCheck::run(dir.filePath(QStringLiteral("none")), kUnit), zip, details(), &error));
        QVERIFY(older.seek(0));
        QCOMPARE(older.readAll(), QByteArray("the older package"));
    }
};

QTEST_MAIN(TestSubmissionPackage)
#include "test_submission_package.moc"
