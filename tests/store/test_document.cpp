// Loading, querying and saving documents, with the failure texts the windows show.
#include "Charset.h"
#include "TempProgramFolder.h"
#include "core/AtomicFileWriter.h"
#include "core/XmlPathSet.h"
#include "TestDocuments.h"
#include "store/Settings.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>

using namespace testdoc;
using namespace xml;

class TestDocument : public QObject {
    Q_OBJECT

    static QStringList filesIn(const QString& folder)
    {
        return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    }

private slots:
    void cleanup() { AtomicFileWriter::injectFailureAfter(-1); }

    void failedLoadsLeaveTheirTexts()
    {
        TempProgramFolder folder;
        XmlDocumentPtr doc = LoadXmlDocument(QString());
        QVERIFY(doc);
        QCOMPARE(GetLastErrorText(), QStringLiteral("无效文件名"));

        const QString missing = folder.file(QStringLiteral("没有.xm"));
        doc = LoadXmlDocument(missing);
        QVERIFY(doc);
        QCOMPARE(GetLastErrorText(), QStringLiteral("无法打开指定文件") + missing);

        folder.writeFile(QStringLiteral("bad.xm"), "<Report><a></Report>");
        doc = LoadXmlDocument(folder.file(QStringLiteral("bad.xm")));
        QCOMPARE(GetLastErrorText(), QStringLiteral("无法打开指定文件") + folder.file(QStringLiteral("bad.xm")));

        // A folder where a file should be is not a document either.
        doc = LoadXmlDocument(folder.path());
        QCOMPARE(GetLastErrorText(), QStringLiteral("无法打开指定文件") + folder.path());

        // The next good load clears the text again.
        doc = LoadXmlDocument(folder.file(QStringLiteral("report1.tpl")));
        QCOMPARE(GetLastErrorText(), QString());
        QVERIFY(!documentElement(doc).isNull());
    }

    void namespaceErrorsAreFormatErrors()
    {
        TempProgramFolder folder;
        folder.writeFile(QStringLiteral("ns.xml"), "<a:Report><x/></a:Report>");
        LoadXmlDocument(folder.file(QStringLiteral("ns.xml")));
        const QString prefix = QStringLiteral("文件格式错误:") + folder.file(QStringLiteral("ns.xml")) + QStringLiteral("\\n");
        QVERIFY2(GetLastErrorText().startsWith(prefix), qPrintable(GetLastErrorText()));
        QVERIFY(!GetLastErrorText().contains(QLatin1Char('\n')));
    }

    void nodeText_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<QString>("xpath");
        QTest::addColumn<QString>("expected");
        QTest::newRow("trimmed spaces") << QByteArray("<r><v>  12 </v></r>") << QStringLiteral("//r/v") << QStringLiteral("12");
        QTest::newRow("tabs and breaks stay") << QByteArray("<r><v>\t12\n</v></r>") << QStringLiteral("//r/v") << QStringLiteral("\t12\n");
        QTest::newRow("descendant text") << QByteArray("<r><v> <a>1</a><b>2</b> 3 </v></r>") << QStringLiteral("//r/v") << QStringLiteral("12 3");
        QTest::newRow("first match") << QByteArray("<r><v>a</v><v>b</v></r>") << QStringLiteral("//r/v") << QStringLiteral("a");
        QTest::newRow("attribute") << QByteArray("<r><v dict=\" 古建 \">11</v></r>") << QStringLiteral("//r/v/@dict") << QStringLiteral("古建");
        QTest::newRow("no match") << QByteArray("<r/>") << QStringLiteral("//r/none") << QString();
        QTest::newRow("bad xpath") << QByteArray("<r/>") << QStringLiteral("//r/[[") << QString();
        QTest::newRow("nested: first in document order")
            << QByteArray("<A><X><A><B><C>inner</C></B></A></X><B><C>outer</C></B></A>") << QStringLiteral("//A/B/C") << QStringLiteral("inner");
        QTest::newRow("attribute only on a later match")
            << QByteArray("<r><v>1</v><v d=\"x\">2</v></r>") << QStringLiteral("//r/v/@d") << QStringLiteral("x");
        QTest::newRow("default namespace matches nothing")
            << QByteArray("<r xmlns=\"urn:x\"><v>1</v></r>") << QStringLiteral("//r/v") << QString();
        QTest::newRow("prefixed names are other names")
            << QByteArray("<r xmlns:p=\"urn:x\"><p:v>1</p:v><v>2</v></r>") << QStringLiteral("//r/v") << QStringLiteral("2");
        QTest::newRow("comment and text between")
            << QByteArray("<r><!-- c --> t <v><?pi x?>7</v></r>") << QStringLiteral("//r/v") << QStringLiteral("7");
        QTest::newRow("zero-width no-break space at the start")
            << QByteArray("<r><v>&#65279;101</v></r>") << QStringLiteral("//r/v") << QStringLiteral("\uFEFF101");
        QTest::newRow("entity text") << QByteArray("<r><v>A&amp;B</v></r>") << QStringLiteral("//r/v") << QStringLiteral("A&B");
    }
    void nodeText()
    {
        QFETCH(QByteArray, xml);
        QFETCH(QString, xpath);
        QFETCH(QString, expected);
        XmlDocumentPtr doc = ParseXmlText(xml);
        QCOMPARE(GetLastErrorText(), QString());
        // The document and its root give the same answers.
        QCOMPARE(GetNodeText(documentElement(doc), xpath), expected);
        QCOMPARE(GetNodeText(documentNode(doc), xpath), expected);
        // The same path in a form only the general XPath engine takes gives the same node.
        QCOMPARE(GetNodeText(documentElement(doc), QStringLiteral("(") + xpath + QStringLiteral(")[1]")), expected);
        // Many paths in one walk: each finds what it finds alone, whatever stands beside it.
        const QStringList paths{QStringLiteral("//r/none"), xpath, QStringLiteral("//A/B"), xpath};
        const QStringList texts = XmlPathSet(paths).texts(documentElement(doc));
        QCOMPARE(texts.size(), paths.size());
        for (qsizetype i = 0; i < paths.size(); ++i)
            QCOMPARE(texts[i], GetNodeText(documentElement(doc), paths[i]));
    }

    // Setting many paths in one walk gives the document that setting them one by one gives,
    // also when one path lies inside another's element (its node is freed by the outer one).
    void setNodeTextsMatchesOneByOne_data()
    {
        QTest::addColumn<QStringList>("paths");
        QTest::newRow("elements, attribute, missing, repeated")
            << QStringList{"//r/c", "//r/c/@dict", "//r/none", "//r/v/i", "//r/c"};
        QTest::newRow("inner before outer") << QStringList{"//r/v/i", "//r/v", "//r/c/@dict"};
        QTest::newRow("outer before inner") << QStringList{"//r/v", "//r/v/i", "//r/c"};
        QTest::newRow("general XPath beside simple ones") << QStringList{"(//r/c)[1]", "//r/v/i", "//r/c/@dict"};
    }
    void setNodeTextsMatchesOneByOne()
    {
        QFETCH(QStringList, paths);
        const QByteArray xml("<r><v>old<i>x</i></v><c dict=\"d\">1</c></r>");
        QStringList values;
        for (qsizetype i = 0; i < paths.size(); ++i)
            values << QStringLiteral(" 值%1&< ").arg(i);
        XmlDocumentPtr oneByOne = ParseXmlText(xml);
        for (qsizetype i = 0; i < paths.size(); ++i)
            SetNodeText(documentElement(oneByOne), paths[i], values[i]);
        XmlDocumentPtr batch = ParseXmlText(xml);
        SetNodeTexts(documentElement(batch), XmlPathSet(paths), values);
        QCOMPARE(SerializeXmlDocument(batch), SerializeXmlDocument(oneByOne));
    }

    void setNodeTextIsLiteralAndTrimmed()
    {
        TempProgramFolder folder;
        XmlDocumentPtr doc = ParseXmlText("<r><v>old<i>x</i></v><c dict=\"\">1</c></r>");
        const XmlNode root = documentElement(doc);
        SetNodeText(root, QStringLiteral("//r/v"), QStringLiteral("  A&B<公司>  "));
        SetNodeText(root, QStringLiteral("//r/c/@dict"), QStringLiteral(" 甲&乙\" "));
        SetNodeText(root, QStringLiteral("//r/missing"), QStringLiteral("x"));
        SetNodeText(root, QStringLiteral("//r/c/@missing"), QStringLiteral("x"));
        QCOMPARE(GetNodeText(root, QStringLiteral("//r/v")), QStringLiteral("A&B<公司>"));
        QCOMPARE(GetNodeText(root, QStringLiteral("//r/c/@dict")), QStringLiteral("甲&乙\""));

        QVERIFY(SaveXmlDocument(doc, folder.file(QStringLiteral("x.xml"))));
        const QByteArray bytes = folder.readFile(QStringLiteral("x.xml"));
        QVERIFY(!bytes.contains("missing"));
        XmlDocumentPtr again = LoadXmlDocument(folder.file(QStringLiteral("x.xml")));
        QCOMPARE(GetNodeText(documentElement(again), QStringLiteral("//r/v")), QStringLiteral("A&B<公司>"));
        QCOMPARE(GetNodeText(documentElement(again), QStringLiteral("//r/c/@dict")), QStringLiteral("甲&乙\""));
    }

    void encodings_data()
    {
        const QString text = QStringLiteral("北京市文物局 镕 堃 喆");  // 镕 堃 喆 are GBK only
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected");
        auto doc = [](const char* label, const QString& value, const char* charset) {
            return encodeAs(QStringLiteral("<?xml version=\"1.0\" encoding=\"%1\"?><r><v>%2</v></r>")
                                .arg(QLatin1String(label), value), charset);
        };
        QTest::newRow("UTF-8") << doc("UTF-8", text, "UTF-8") << text;
        QTest::newRow("GB2312 label, GBK bytes") << doc("GB2312", text, "GBK") << text;
        QTest::newRow("gb2312 lower case") << doc("gb2312", QStringLiteral("北京"), "GB2312") << QStringLiteral("北京");
        QTest::newRow("GBK") << doc("GBK", text, "GBK") << text;
        QTest::newRow("GB18030") << doc("GB18030", text + QStringLiteral("𠀀"), "GB18030") << text + QStringLiteral("𠀀");
        QTest::newRow("UTF-16 BOM") << QByteArray("\xFF\xFE") + doc("UTF-16", text, "UTF-16LE") << text;
        QTest::newRow("no declaration") << QStringLiteral("<r><v>%1</v></r>").arg(text).toUtf8() << text;
        QTest::newRow("instruction that only looks like a declaration")
            << QByteArray("<?xmlev r=encoding=\".GBK\"?><r><v>") + text.toUtf8() + QByteArray("</v></r>") << text;
    }
    void encodings()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        QVERIFY(!bytes.isEmpty());
        TempProgramFolder folder;
        folder.writeFile(QStringLiteral("e.xml"), bytes);
        XmlDocumentPtr doc = LoadXmlDocument(folder.file(QStringLiteral("e.xml")));
        QCOMPARE(GetLastErrorText(), QString());
        QCOMPARE(GetNodeText(documentElement(doc), QStringLiteral("//r/v")), expected);

        // Saved again in its own encoding, it reads back the same.
        QVERIFY(SaveXmlDocument(doc, folder.file(QStringLiteral("e2.xml"))));
        XmlDocumentPtr again = LoadXmlDocument(folder.file(QStringLiteral("e2.xml")));
        QCOMPARE(GetLastErrorText(), QString());
        QCOMPARE(GetNodeText(documentElement(again), QStringLiteral("//r/v")), expected);
    }

    void savingFailuresAndEdges()
    {
        TempProgramFolder folder;
        XmlDocumentPtr failed = LoadXmlDocument(folder.file(QStringLiteral("none.xml")));
        folder.writeFile(QStringLiteral("keep.xml"), "<keep/>");
        QVERIFY(!SaveXmlDocument(failed, folder.file(QStringLiteral("keep.xml"))));
        QVERIFY(GetLastErrorText().startsWith(QStringLiteral("无法保存指定文件") + folder.file(QStringLiteral("keep.xml")) + QStringLiteral("\\n")));
        QCOMPARE(folder.readFile(QStringLiteral("keep.xml")), QByteArray("<keep/>"));

        XmlDocumentPtr good = ParseXmlText("<r/>");
        QVERIFY(!SaveXmlDocument(good, QString()));
        QCOMPARE(GetLastErrorText(), QStringLiteral("未指定待保存得文件名"));
        QVERIFY(SaveXmlDocument(good, folder.file(QStringLiteral("ok.xml"))));
        QCOMPARE(GetLastErrorText(), QString());
    }

    void failedWritesKeepTheOldFile_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::newRow("missing folder") << QStringLiteral("missing folder");
        QTest::newRow("read-only file") << QStringLiteral("read-only file");
        QTest::newRow("path is a folder") << QStringLiteral("folder");
        QTest::newRow("write fails part-way") << QStringLiteral("injected");
        QTest::newRow("read-only folder") << QStringLiteral("read-only folder");
    }
    void failedWritesKeepTheOldFile()
    {
        QFETCH(QString, situation);
        TempProgramFolder folder;
        const QByteArray old = "<?xml version=\"1.0\"?><old>旧的内容，必须保留</old>";
        QString target = folder.file(QStringLiteral("report.xm"));
        folder.writeFile(QStringLiteral("report.xm"), old);
        if (situation == QLatin1String("missing folder")) {
            target = folder.file(QStringLiteral("nowhere/report.xm"));
        } else if (situation == QLatin1String("read-only file")) {
            QFile::setPermissions(target, QFileDevice::ReadOwner);
        } else if (situation == QLatin1String("folder")) {
            QDir(folder.path()).mkdir(QStringLiteral("sub.xm"));
            target = folder.file(QStringLiteral("sub.xm"));
        } else if (situation == QLatin1String("injected")) {
            AtomicFileWriter::injectFailureAfter(10);
        } else if (situation == QLatin1String("read-only folder")) {
            if (geteuid() == 0)
                QSKIP("root writes through read-only permissions");
            QFile::setPermissions(folder.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        }
        const QStringList before = filesIn(folder.path());

        XmlDocumentPtr doc = ParseXmlText("<?xml version=\"1.0\" encoding=\"UTF-8\"?><new>新的内容比旧的长得多得多得多得多</new>");
        QVERIFY(!SaveXmlDocument(doc, target));
        const QString prefix = QStringLiteral("无法保存指定文件") + target + QStringLiteral("\\n");
        QVERIFY2(GetLastErrorText().startsWith(prefix) && GetLastErrorText().size() > prefix.size(),
                 qPrintable(GetLastErrorText()));

        QFile::setPermissions(folder.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QFile::setPermissions(folder.file(QStringLiteral("report.xm")), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QCOMPARE(folder.readFile(QStringLiteral("report.xm")), old);
        QCOMPARE(filesIn(folder.path()), before); // no temporary file left behind
    }

    void doctypesNeverLoad_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::newRow("external file entity")
            << QByteArray("<!DOCTYPE r [<!ENTITY x SYSTEM \"file:///etc/hostname\">]><r>&x;</r>");
        QTest::newRow("billion laughs")
            << QByteArray("<!DOCTYPE r [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
                          "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\"><!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">"
                          "<!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;\"><!ENTITY f \"&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;\">"
                          "<!ENTITY g \"&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;\"><!ENTITY h \"&g;&g;&g;&g;&g;&g;&g;&g;&g;&g;\">]>"
                          "<r>&h;</r>");
        QByteArray quadratic = "<!DOCTYPE r [<!ENTITY x \"" + QByteArray(50000, 'x') + "\">]><r>";
        for (int i = 0; i < 20000; ++i)
            quadratic += "&x;";
        quadratic += "</r>";
        QTest::newRow("quadratic blow-up") << quadratic;
        QTest::newRow("plain doctype") << QByteArray("<!DOCTYPE r SYSTEM \"r.dtd\"><r>1</r>");
    }
    void doctypesNeverLoad()
    {
        QFETCH(QByteArray, xml);
        TempProgramFolder folder;
        folder.writeFile(QStringLiteral("evil.xm"), xml);
        QElapsedTimer timer;
        timer.start();
        XmlDocumentPtr doc = LoadXmlDocument(folder.file(QStringLiteral("evil.xm")));
        QCOMPARE(GetLastErrorText(), QStringLiteral("无法打开指定文件") + folder.file(QStringLiteral("evil.xm")));
        QVERIFY(GetNodeText(documentElement(doc), QStringLiteral("//r")).isEmpty());
        // Refused in milliseconds; the bound only catches an expansion, even on a slow machine.
        QVERIFY2(timer.elapsed() < 60000, "an entity bomb must be refused, not expanded");
    }
};

QTEST_MAIN(TestDocument)
#include "test_document.moc"
