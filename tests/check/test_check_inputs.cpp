// What the batch reads as it comes: archives inside archives within their bounds, entry
// names from Chinese Windows, links and devices passed over, and a reason for every file
// it cannot read.
#include "CheckCorpus.h"
#include "TempProgramFolder.h"
#include "check/ArchiveReader.h"
#include "check/CheckRun.h"
#include "check/CheckSink.h"
#include "check/InputWalker.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using Entry = CheckCorpus::Entry;
using Format = CheckCorpus::Format;

namespace {

QByteArray blankReport()
{
    QFile blank(TempProgramFolder::templatesDir() + QStringLiteral("/report1.tpl"));
    if (!blank.open(QIODevice::ReadOnly))
        qFatal("no report1.tpl");
    return blank.readAll();
}

// Every item the walk hands out: "path|readError", with "passed over" and "too large" marked.
QStringList walked(const QStringList& paths, qint64 allowance = InputWalker::kMaxArchiveBytes)
{
    QStringList items;
    InputWalker(paths, allowance).walk([&](InputItem&& item) {
        QString line = item.path;
        if (item.passedOver)
            line += QStringLiteral("|passed over");
        if (item.tooLarge)
            line += QStringLiteral("|too large");
        if (!item.readError.isEmpty())
            line += QLatin1Char('|') + item.readError;
        items << line;
        return true;
    });
    return items;
}

class FindingSink : public CheckSink {
public:
    QStringList lines; // "path|kind|message"
    void fileChecked(const FileResult& result) override
    {
        for (const CheckFinding& f : result.findings)
            lines << f.path + QLatin1Char('|') + f.kind + QLatin1Char('|') + f.message;
    }
};

} // namespace

class TestCheckInputs : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

    QString put(const QString& name, const QByteArray& bytes)
    {
        CheckCorpus::writeFile(dir.filePath(name), bytes);
        return dir.filePath(name);
    }

private slots:
    // A city forwards its counties' files: a zip and a tar.gz inside a zip, each read from
    // memory; a link and a fifo passed over and counted; a fourth level refused.
    void archivesInsideArchives()
    {
        const QByteArray report = blankReport();
        const QByteArray county = CheckCorpus::archiveBytes(Format::TarGz, {{QStringLiteral("县/r2.xm"), report},
                                                                      {QStringLiteral("县/link.xm"), {}, Entry::SymbolicLink},
                                                                      {QStringLiteral("县/pipe"), {}, Entry::Fifo}});
        QByteArray deep = CheckCorpus::archiveBytes(Format::Zip, {{QStringLiteral("r4.xm"), report}});
        for (const char* name : {"l3.zip", "l2.zip"})
            deep = CheckCorpus::archiveBytes(Format::Zip, {{QString::fromLatin1(name), deep}});
        const QByteArray inner = CheckCorpus::archiveBytes(Format::Zip, {{QStringLiteral("r1.xm"), report}});
        const QString city = put(QStringLiteral("nested/city.zip"),
                                 CheckCorpus::archiveBytes(Format::Zip, {{QStringLiteral("inner.zip"), inner},
                                                                    {QStringLiteral("county.tar.gz"), county},
                                                                    {QStringLiteral("l1.zip"), deep}}));
        QCOMPARE(walked({city}), (QStringList{
                                     city + QStringLiteral(":inner.zip:r1.xm"),
                                     city + QStringLiteral(":county.tar.gz:县/r2.xm"),
                                     city + QStringLiteral(":county.tar.gz:县/link.xm|passed over"),
                                     city + QStringLiteral(":county.tar.gz:县/pipe|passed over"),
                                     city + QStringLiteral(":l1.zip:l2.zip:l3.zip|压缩包中的压缩包超过 3 层，不予读取"),
                                 }));

        CheckRun run({city});
        const CheckTally tally = run.run();
        QCOMPARE(tally.passedOver, 2);
        QVERIFY2(tally.closingLine().endsWith(QStringLiteral("，跳过压缩包中的链接和设备文件 2")), qPrintable(tally.closingLine()));

        // Found again for the window by its indexes: the county's report, two levels down.
        struct Locations : CheckSink {
            QList<QList<int>> indexes;
            void fileChecked(const FileResult& result) override { indexes << result.entryIndexes; }
        } locations;
        CheckRun again({city});
        again.addSink(&locations);
        again.run();
        QCOMPARE(locations.indexes.value(1), (QList<int>{1, 0}));
        QByteArray bytes;
        QString error;
        QVERIFY2(InputWalker::readEntry(city, locations.indexes[1], &bytes, &error), qPrintable(error));
        QCOMPARE(bytes, report);
        QVERIFY(!InputWalker::readEntry(city, {1, 7}, &bytes, &error));
        QCOMPARE(error, QStringLiteral("压缩包中已没有这个文件"));
    }

    // What an outer archive may unpack to is counted over every entry at every depth; the
    // rest of that archive is not read, the next archive is.
    void allowanceStopsOneArchive()
    {
        const QByteArray block(400 * 1024, 'x');
        const QByteArray inner = CheckCorpus::archiveBytes(Format::Zip, {{QStringLiteral("b.bin"), block}, {QStringLiteral("c.bin"), block}});
        const QString bomb = put(QStringLiteral("allowance/a.zip"),
                                 CheckCorpus::archiveBytes(Format::Zip, {{QStringLiteral("a.bin"), block},
                                                                    {QStringLiteral("inner.zip"), inner},
                                                                    {QStringLiteral("d.bin"), block}}));
        const QString next = put(QStringLiteral("allowance/b.zip"), CheckCorpus::archiveBytes(Format::Zip, {{QStringLiteral("e.bin"), block}}));
        // a.bin, the inner zip itself and b.bin fit in 1 MiB with room to spare; c.bin does not.
        QCOMPARE(walked({dir.filePath(QStringLiteral("allowance"))}, 1024 * 1024),
                 (QStringList{bomb + QStringLiteral(":a.bin"), bomb + QStringLiteral(":inner.zip:b.bin"),
                              bomb + QStringLiteral("|压缩包解压后超过 1 MiB，其余内容不予读取"), next + QStringLiteral(":e.bin")}));
    }

    // Above 64 MiB an entry is judged by its head, however deep it sits.
    void sizeLimitInsideAnArchive()
    {
        const QByteArray huge(InputWalker::kMaxDocumentBytes + 1, '\0');
        const QByteArray inner = CheckCorpus::archiveBytes(Format::Zip, {{QStringLiteral("big.xm"), huge}});
        const QString zip = put(QStringLiteral("big/outer.zip"), CheckCorpus::archiveBytes(Format::Zip, {{QStringLiteral("inner.zip"), inner}}));
        FindingSink sink;
        CheckRun run({zip});
        run.addSink(&sink);
        run.run();
        QCOMPARE(sink.lines, QStringList{zip + QStringLiteral(":inner.zip:big.xm|无法读取|文件超过 64 MiB，不予读取")});
    }

    void entryNames_data()
    {
        QTest::addColumn<QByteArray>("raw");
        QTest::addColumn<QString>("name");
        QTest::newRow("ascii") << QByteArray("a/qzrt_1.xm") << QStringLiteral("a/qzrt_1.xm");
        QTest::newRow("utf-8") << QStringLiteral("第一批/报表.xm").toUtf8() << QStringLiteral("第一批/报表.xm");
        QTest::newRow("gbk") << QByteArray("\xB5\xDA\xD2\xBB\xC5\xFA/\xB1\xA8\xB1\xED.xm") << QStringLiteral("第一批/报表.xm");
        QTest::newRow("gb18030 four bytes") << QByteArray("\x95\x32\x82\x36.xm") << QStringLiteral("𠀀.xm");
    }
    void entryNames()
    {
        QFETCH(QByteArray, raw);
        QFETCH(QString, name);
        QCOMPARE(ArchiveReader::decodeName(raw), name);
    }

    // A zip from Chinese Windows, checked in a C locale: the names reach the CSV in Chinese.
    void gbkNamesReachTheTables()
    {
        const QString name = QStringLiteral("第一批数据报表/qzrt_410101_A01.xm");
        const QString zip = put(QStringLiteral("gbk/units.zip"),
                                CheckCorpus::archiveBytes(Format::Zip, {{name, blankReport()}}, "GBK"));
        QFile raw(zip);
        QVERIFY(raw.open(QIODevice::ReadOnly));
        QVERIFY(!raw.readAll().contains(name.toUtf8())); // stored as GBK, not as UTF-8
        const QString csv = dir.filePath(QStringLiteral("gbk-csv"));
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(VANTREL_BINARY_DIR "/vantrel-check"), {QStringLiteral("--csv"), csv, zip});
        QVERIFY(process.waitForFinished(120000));
        QFile projects(csv + QStringLiteral("/projects.csv"));
        QVERIFY(projects.open(QIODevice::ReadOnly));
        QVERIFY2(QString::fromUtf8(projects.readAll()).contains(zip + QLatin1Char(':') + name), qPrintable(csv));
    }

    // The four reasons a report cannot be read, and a damaged archive, in Chinese.
    void unreadableFilesSayWhy()
    {
        const QString folder = dir.filePath(QStringLiteral("unreadable"));
        const QByteArray report = blankReport();
        put(QStringLiteral("unreadable/a_cut.xm"), report.left(report.indexOf("</BasicInfo>") + 5));
        put(QStringLiteral("unreadable/b_doctype.xm"),
            "<?xml version=\"1.0\"?><!DOCTYPE Report [<!ENTITY a \"b\">]><Report>&a;</Report>");
        put(QStringLiteral("unreadable/c_encoding.xm"), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Report>\xB2\xE2</Report>");
        QFile huge(dir.filePath(QStringLiteral("unreadable/d_huge.xm")));
        QVERIFY(huge.open(QIODevice::WriteOnly));
        huge.write("<Report>");
        QVERIFY(huge.resize(InputWalker::kMaxDocumentBytes + 1)); // sparse: nothing to write
        huge.close();
        const QByteArray zip = CheckCorpus::archiveBytes(Format::Zip, {{QStringLiteral("r.xm"), report}});
        put(QStringLiteral("unreadable/e_damaged.zip"), zip.left(zip.size() / 2));

        FindingSink sink;
        CheckRun run({folder});
        run.addSink(&sink);
        run.run();
        QStringList reasons;
        for (const QString& line : sink.lines)
            reasons << line.section(QLatin1Char('|'), 2);
        QVERIFY2(reasons.size() == 5, qPrintable(sink.lines.join(QLatin1Char('\n'))));
        const int cutLine = static_cast<int>(report.left(report.indexOf("</BasicInfo>")).count('\n')) + 1;
        QVERIFY2(reasons[0].startsWith(QStringLiteral("第 %1 行第 ").arg(cutLine)), qPrintable(reasons[0]));
        QVERIFY2(reasons[0].contains(QStringLiteral("列：")) && reasons[0].endsWith(QStringLiteral("）")), qPrintable(reasons[0]));
        QCOMPARE(reasons[1], QStringLiteral("文件含有文档类型声明（DOCTYPE），为安全起见不予读取"));
        QVERIFY2(reasons[2].startsWith(QStringLiteral("第 2 行第 9 列：内容与文件声明的编码 UTF-8 不符（")), qPrintable(reasons[2]));
        QCOMPARE(reasons[3], QStringLiteral("文件超过 64 MiB，不予读取"));
        // Cut inside its only entry: said once, of the entry.
        QVERIFY2(sink.lines[4].startsWith(dir.filePath(QStringLiteral("unreadable/e_damaged.zip:r.xm|"))), qPrintable(sink.lines[4]));
        QVERIFY2(reasons[4].startsWith(QStringLiteral("压缩包已损坏：压缩的数据不完整或已损坏（ZIP decompression failed")), qPrintable(reasons[4]));
    }

    // Nothing that cannot be read stops the walk or hides what comes after it: an encrypted
    // entry is said of itself and the next is read too; a fifo, given or found, is passed over
    // at once (reading it would wait for ever); a gzip of something that is no archive is
    // another file, not a damaged archive.
    void whatCannotBeReadStopsNothing()
    {
        const QByteArray report = blankReport();
        const QString zip = put(QStringLiteral("odd/a.zip"),
                                CheckCorpus::archiveBytes(Format::Zip, {{QStringLiteral("first.xm"), report, Entry::EncryptedFile},
                                                                        {QStringLiteral("second.xm"), report, Entry::EncryptedFile}}));
        const QString scan = put(QStringLiteral("odd/b_scan.pdf.gz"), CheckCorpus::archiveBytes(Format::Gzip, {{QStringLiteral("scan.pdf"), "%PDF-1.4\n"}}));
        const QString fifo = dir.filePath(QStringLiteral("odd/c_pipe.xm"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
        const QStringList items = walked({dir.filePath(QStringLiteral("odd"))});
        QCOMPARE(items.size(), 4);
        QVERIFY2(items[0].startsWith(zip + QStringLiteral(":first.xm|压缩包无法读取：内容已加密")), qPrintable(items[0]));
        QVERIFY2(items[1].startsWith(zip + QStringLiteral(":second.xm|压缩包无法读取：内容已加密")), qPrintable(items[1]));
        QCOMPARE(items.mid(2), (QStringList{scan + QStringLiteral("|passed over"), fifo + QStringLiteral("|passed over")}));
        QCOMPARE(walked({fifo}), QStringList{fifo + QStringLiteral("|passed over")});
        QCOMPARE(InputWalker({fifo}).countItems(), 1);
    }

    // A folder that cannot be listed is reported, not counted as empty.
    void unreadableFolderIsReported()
    {
        if (::geteuid() == 0)
            QSKIP("root reads every folder");
        const QString folder = dir.filePath(QStringLiteral("closed"));
        put(QStringLiteral("closed/inner/r.xm"), blankReport());
        const QString inner = folder + QStringLiteral("/inner");
        QVERIFY(QFile::setPermissions(inner, QFileDevice::Permissions()));
        const QStringList items = walked({folder});
        QFile::setPermissions(inner, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QCOMPARE(items, QStringList{inner + QStringLiteral("|无法打开文件夹") + inner});
    }

    void archiveFailureTexts_data()
    {
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("chinese");
        QTest::newRow("truncated") << QStringLiteral("Truncated ZIP file data")
                                   << QStringLiteral("压缩包已损坏：文件不完整，可能没有下载或复制完（Truncated ZIP file data）");
        QTest::newRow("crc") << QStringLiteral("ZIP bad CRC: 0x1 should be 0x2") << QStringLiteral("压缩包已损坏：校验值不符，内容已损坏（ZIP bad CRC: 0x1 should be 0x2）");
        QTest::newRow("encrypted") << QStringLiteral("Encrypted file is unsupported") << QStringLiteral("压缩包无法读取：内容已加密（Encrypted file is unsupported）");
        QTest::newRow("method") << QStringLiteral("Unsupported ZIP compression method (99: AES)")
                                << QStringLiteral("压缩包无法读取：使用了不支持的压缩方法（Unsupported ZIP compression method (99: AES)）");
        QTest::newRow("xz cut short") << QStringLiteral("Lzma library error: No progress is possible")
                                      << QStringLiteral("压缩包已损坏：文件不完整，可能没有下载或复制完（Lzma library error: No progress is possible）");
        QTest::newRow("other") << QStringLiteral("Something else") << QStringLiteral("压缩包已损坏：无法读取（Something else）");
    }
    void archiveFailureTexts()
    {
        QFETCH(QString, english);
        QFETCH(QString, chinese);
        QCOMPARE(ArchiveReader::failureText(english), chinese);
    }
};

QTEST_MAIN(TestCheckInputs)
#include "test_check_inputs.moc"
