// Files a clerk might be handed or find on a shared drive: each one either fails to
// load with the usual message or loads without anything from outside the file.
#include "TestDocuments.h"
#include "store/Settings.h"
#include "core/XsltTransformer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

using namespace testdoc;
using namespace xml;

namespace {

enum Outcome { MustFail, MustLoad, EitherWay };

const QByteArray kForeign = "FOREIGN-CONTENT-7F3A";

QByteArray repeated(const QByteArray& part, int times)
{
    QByteArray out;
    out.reserve(part.size() * times);
    for (int i = 0; i < times; ++i)
        out += part;
    return out;
}

QByteArray reportWithName(const QByteArray& name, const QByteArray& prolog = {}, const QByteArray& rootAttributes = {})
{
    return prolog + "<Report" + rootAttributes + "><BasicInfo><ProjectID>7</ProjectID><ProjectName>" + name
         + "</ProjectName></BasicInfo></Report>";
}

} // namespace

class TestHostileFiles : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QTcpServer server_;
    XmlDocumentPtr pageStyle_;
    XmlDocumentPtr blank_;
    int fileCount_ = 0;

    QString secretPath() const { return dir_.filePath(QStringLiteral("secret.txt")); }

private slots:
    void initTestCase()
    {
        QVERIFY(dir_.isValid());
        // Anything that follows a reference out of the file would find this text.
        QFile secret(secretPath());
        QVERIFY(secret.open(QIODevice::WriteOnly));
        secret.write(kForeign);
        secret.close();
        QFile secretXml(dir_.filePath(QStringLiteral("secret.xml")));
        QVERIFY(secretXml.open(QIODevice::WriteOnly));
        secretXml.write("<Report><BasicInfo><ProjectName>" + kForeign + "</ProjectName></BasicInfo></Report>");
        secretXml.close();
        QVERIFY(server_.listen(QHostAddress::LocalHost));

        pageStyle_ = LoadXmlDocument(QStringLiteral(VANTREL_TEMPLATES_DIR "/report1.tps"));
        QVERIFY(GetLastErrorText().isEmpty());
        blank_ = LoadXmlDocument(QStringLiteral(VANTREL_TEMPLATES_DIR "/report1.tpl"));
        QVERIFY(GetLastErrorText().isEmpty());
    }

    void hostileFile_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QString>("name");   // ProjectName when the file loads

        const QByteArray decl = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
        QTest::newRow("not well-formed") << QByteArray("<Report><BasicInfo></Report>") << int(MustFail) << QString();
        QTest::newRow("unclosed root") << QByteArray("<Report><BasicInfo/>") << int(MustFail) << QString();
        QTest::newRow("two roots") << QByteArray("<Report/><Report/>") << int(MustFail) << QString();
        QTest::newRow("empty file") << QByteArray() << int(MustFail) << QString();
        QTest::newRow("declaration only") << decl << int(MustFail) << QString();
        QTest::newRow("NUL inside") << QByteArray("<Report>\0</Report>", 18) << int(MustFail) << QString();
        QTest::newRow("wrong root") << QByteArray("<Config><CorpID>1</CorpID><ProjectName>x</ProjectName></Config>")
                                    << int(MustLoad) << QString();
        QTest::newRow("50 MB text")
            << reportWithName("大", decl).replace("</BasicInfo>", "<Remark>" + repeated("长文本", 50 * 1024 * 1024 / 9) + "</Remark></BasicInfo>")
            << int(EitherWay) << QStringLiteral("大");
        QTest::newRow("10000-deep nesting")
            << "<Report>" + repeated("<a>", 10000) + repeated("</a>", 10000) + "</Report>" << int(EitherWay) << QString();
        QTest::newRow("bytes invalid for UTF-8")
            << reportWithName("\xff\xfe\xc3(", decl) << int(MustFail) << QString();
        QTest::newRow("bytes invalid for GB2312")
            << reportWithName("\x81\x20\xff", "<?xml version=\"1.0\" encoding=\"GB2312\"?>") << int(MustFail) << QString();
        QTest::newRow("unknown encoding name")
            << reportWithName("x", "<?xml version=\"1.0\" encoding=\"X-NO-SUCH-CHARSET\"?>") << int(MustFail) << QString();
        QTest::newRow("odd UTF-16 bytes")
            << QByteArray("\xff\xfe<\0R\0e\0p\0", 9) << int(MustFail) << QString();
        // Two files that must load, so the table also proves it is not failing everything.
        QTest::newRow("GB2312 label, GBK bytes")
            << reportWithName("\xe9\x46\xb9\xa4\xb3\xcc", "<?xml version=\"1.0\" encoding=\"GB2312\"?>")
            << int(MustLoad) << QStringLiteral("镕工程");
        {
            const QString text = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-16\"?>")
                               + QString::fromUtf8(reportWithName("𠀀城"));
            QByteArray utf16("\xff\xfe");
            utf16.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
            QTest::newRow("UTF-16 with BOM") << utf16 << int(MustLoad) << QStringLiteral("𠀀城");
        }
        QTest::newRow("default namespace")
            << reportWithName("x", decl, " xmlns=\"urn:vantrel:other\"") << int(MustLoad) << QString();
        QTest::newRow("external entity, /etc/hostname")
            << reportWithName("&e;", decl + "<!DOCTYPE Report [<!ENTITY e SYSTEM \"file:///etc/hostname\">]>")
            << int(MustFail) << QString();
        QTest::newRow("external entity, local file")
            << reportWithName("&e;", decl + "<!DOCTYPE Report [<!ENTITY e SYSTEM \"%SECRET%\">]>")
            << int(MustFail) << QString();
        QTest::newRow("external entity, network")
            << reportWithName("&e;", decl + "<!DOCTYPE Report [<!ENTITY e SYSTEM \"http://127.0.0.1:%PORT%/e\">]>")
            << int(MustFail) << QString();
        QTest::newRow("external DTD, network")
            << reportWithName("x", decl + "<!DOCTYPE Report SYSTEM \"http://127.0.0.1:%PORT%/r.dtd\">")
            << int(MustFail) << QString();
        QTest::newRow("parameter entity, network")
            << reportWithName("x", decl + "<!DOCTYPE Report [<!ENTITY % p SYSTEM \"http://127.0.0.1:%PORT%/p\"> %p;]>")
            << int(MustFail) << QString();
        QTest::newRow("internal entity")
            << reportWithName("&e;", decl + "<!DOCTYPE Report [<!ENTITY e \"harmless\">]>") << int(MustFail) << QString();
        {
            QByteArray dtd = "<!DOCTYPE Report [<!ENTITY l0 \"lol\">";
            for (int i = 1; i <= 9; ++i)
                dtd += "<!ENTITY l" + QByteArray::number(i) + " \"" + repeated("&l" + QByteArray::number(i - 1) + ";", 10) + "\">";
            dtd += "]>";
            QTest::newRow("billion laughs") << reportWithName("&l9;", decl + dtd) << int(MustFail) << QString();
        }
        {
            const QByteArray dtd = "<!DOCTYPE Report [<!ENTITY a \"" + repeated("x", 50000) + "\">]>";
            QTest::newRow("quadratic blow-up")
                << reportWithName(repeated("&a;", 20000), decl + dtd) << int(MustFail) << QString();
        }
        QTest::newRow("XInclude, local file")
            << reportWithName("<xi:include href=\"%SECRET%\" parse=\"text\"/>", decl,
                              " xmlns:xi=\"http://www.w3.org/2001/XInclude\"")
            << int(MustLoad) << QString();
        QTest::newRow("XInclude, /etc/hostname")
            << reportWithName("<xi:include href=\"file:///etc/hostname\" parse=\"text\"/>", decl,
                              " xmlns:xi=\"http://www.w3.org/2001/XInclude\"")
            << int(MustLoad) << QString();
        QTest::newRow("XInclude, network")
            << reportWithName("<xi:include href=\"http://127.0.0.1:%PORT%/x\"/>", decl,
                              " xmlns:xi=\"http://www.w3.org/2001/XInclude\"")
            << int(MustLoad) << QString();
        QTest::newRow("stylesheet processing instruction")
            << reportWithName("项目", decl + "<?xml-stylesheet type=\"text/xsl\" href=\"http://127.0.0.1:%PORT%/s.xsl\"?>")
            << int(MustLoad) << QStringLiteral("项目");
        QTest::newRow("markup in values")
            << reportWithName("&lt;script&gt;alert(1)&lt;/script&gt;&lt;/title&gt;", decl) << int(MustLoad)
            << QStringLiteral("<script>alert(1)</script></title>");
        QTest::newRow("markup in CDATA")
            << reportWithName("<![CDATA[<script>alert(1)</script></title>]]>", decl) << int(MustLoad)
            << QStringLiteral("<script>alert(1)</script></title>");
        // Well-formed but not namespace-well-formed: the parser keeps the document and
        // reports an error, which counts as a failed load.
        QTest::newRow("undeclared prefix") << reportWithName("<x:b>1</x:b>", decl) << int(MustFail) << QString();
        QTest::newRow("colon in a processing instruction")
            << reportWithName("x", decl + "<?x:l-stylesheet href=\"http://127.0.0.1:%PORT%/s.xsl\"?>") << int(MustFail)
            << QString();
        QTest::newRow("folder") << QByteArray("FOLDER") << int(MustFail) << QString();
        // Sparse: takes no disk space. Its length modulo 2^32 is that of the small document at
        // its start, so a reader that narrows the length to an int would load just that.
        QTest::newRow("4 GB file") << QByteArray("SPARSE") << int(MustFail) << QString();
    }

    void hostileFile()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, outcome);
        QFETCH(QString, name);
        content.replace("%PORT%", QByteArray::number(server_.serverPort()));
        content.replace("%SECRET%", QUrl::fromLocalFile(secretPath()).toEncoded());

        const QString path = dir_.filePath(QStringLiteral("来件 %1.xm").arg(++fileCount_));
        if (content == "FOLDER") {
            QVERIFY(QDir().mkpath(path));
        } else if (content == "SPARSE") {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("<Report/>");
            QVERIFY(file.resize((1LL << 32) + 9));
        } else {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write(content), content.size());
        }
        QSignalSpy connections(&server_, &QTcpServer::newConnection);

        QElapsedTimer timer;
        timer.start();
        const XmlDocumentPtr doc = LoadXmlDocument(path);
        const QString error = GetLastErrorText();
        const QString projectName = GetNodeText(documentElement(doc), QStringLiteral("//Report/BasicInfo/ProjectName"));
        const QString anything = GetNodeText(documentNode(doc), QStringLiteral("/"));
        const XsltTransformer::Result page = XsltTransformer::transform(doc, pageStyle_);
        // The file as a stylesheet: whatever it is, it may not reach outside either.
        const XsltTransformer::Result asStyle = XsltTransformer::transform(blank_, doc);
        const qint64 elapsed = timer.elapsed();

        QVERIFY(doc);
        const bool failed = !error.isEmpty();
        if (failed) {
            QVERIFY2(error == QStringLiteral("无法打开指定文件") + path
                         || error.startsWith(QStringLiteral("文件格式错误:") + path + QStringLiteral("\\n")),
                     qPrintable(error));
            if (!doc->handle()) {
                QVERIFY(!page.ok);
                QVERIFY(!asStyle.ok);
            }
        } else {
            QCOMPARE(projectName, name);
            QVERIFY2(page.ok, qPrintable(page.error));
            const QByteArray html = page.page;
            QVERIFY(!html.contains("<script"));
            QCOMPARE(html.count("</title>"), 1);
            QVERIFY(!html.contains(kForeign));
        }
        if (outcome == MustFail)
            QVERIFY2(failed, "the file loaded");
        if (outcome == MustLoad)
            QVERIFY2(!failed, qPrintable(error));
        QVERIFY(!anything.contains(QString::fromLatin1(kForeign)));
        QVERIFY(!asStyle.page.contains(kForeign));

        // A connection attempt would have reached the listening socket by now: the loader
        // connects synchronously. Look at the socket itself instead of waiting.
        server_.waitForNewConnection(0);
        QCOMPARE(connections.count(), 0);
        QVERIFY(!server_.hasPendingConnections());
        // Hostile input is turned away quickly; the bound only catches a hang or a blow-up.
        QVERIFY2(elapsed < 60000, qPrintable(QString::number(elapsed)));
    }

    void namespaceErrorIsAFormatError()
    {
        const QString path = dir_.filePath(QStringLiteral("ns.xm"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<Report><x:b>1</x:b></Report>");
        file.close();
        const XmlDocumentPtr doc = LoadXmlDocument(path);
        QVERIFY2(GetLastErrorText().startsWith(QStringLiteral("文件格式错误:") + path + QStringLiteral("\\n")),
                 qPrintable(GetLastErrorText()));
        // Such a document is never written over a good file.
        QVERIFY(!SaveXmlDocument(doc, dir_.filePath(QStringLiteral("ns-copy.xm"))));
        QVERIFY(!QFile::exists(dir_.filePath(QStringLiteral("ns-copy.xm"))));
    }

    void failedLoadLeavesNothingBehind()
    {
        // A good load after a hostile one starts clean.
        const QString bad = dir_.filePath(QStringLiteral("bad.xm"));
        QFile file(bad);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<!DOCTYPE Report [<!ENTITY e \"x\">]><Report>&e;</Report>");
        file.close();
        LoadXmlDocument(bad);
        QVERIFY(!GetLastErrorText().isEmpty());
        LoadXmlDocument(QStringLiteral(VANTREL_TEMPLATES_DIR "/report1.tpl"));
        QVERIFY(GetLastErrorText().isEmpty());
    }
};

QTEST_MAIN(TestHostileFiles)
#include "test_hostile_files.moc"
