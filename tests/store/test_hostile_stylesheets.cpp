// A stylesheet beside the program is a file anyone can replace: it may not write files,
// reach the network or read entities, and a broken one fails without taking the program down.
#include "TestDocuments.h"
#include "store/Settings.h"
#include "core/XsltTransformer.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

using namespace testdoc;
using namespace xml;

namespace {

enum Outcome { MustFail, EitherWay };

const QByteArray kForeign = "FOREIGN-CONTENT-7F3A";

QByteArray stylesheet(const QByteArray& body, const QByteArray& extra = {}, const QByteArray& version = "1.0")
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
           "<xsl:stylesheet version=\"" + version + "\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\" " + extra + ">"
           "<xsl:output method=\"html\" encoding=\"UTF-8\"/>" + body + "</xsl:stylesheet>";
}

QByteArray rootTemplate(const QByteArray& content)
{
    return "<xsl:template match=\"/\"><html><head><title>t</title></head><body>" + content
         + "<p>ok</p></body></html></xsl:template>";
}

} // namespace

class TestHostileStylesheets : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QTcpServer server_;
    XmlDocumentPtr report_;
    QStringList filesBefore_;

    QString url(const QString& name) const { return QUrl::fromLocalFile(dir_.filePath(name)).toString(); }

    void writeFile(const QString& name, const QByteArray& bytes)
    {
        QFile file(dir_.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir_.isValid());
        QVERIFY(server_.listen(QHostAddress::LocalHost));
        writeFile(QStringLiteral("secret.txt"), kForeign);
        writeFile(QStringLiteral("entity.xml"),
                  "<!DOCTYPE r [<!ENTITY e \"" + kForeign + "\">]><r><v>&e;</v></r>");
        writeFile(QStringLiteral("external.xml"),
                  "<!DOCTYPE r [<!ENTITY e SYSTEM \"" + url(QStringLiteral("secret.txt")).toUtf8() + "\">]><r><v>&e;</v></r>");
        writeFile(QStringLiteral("xinclude.xml"),
                  "<r xmlns:xi=\"http://www.w3.org/2001/XInclude\"><v><xi:include href=\""
                      + url(QStringLiteral("secret.txt")).toUtf8() + "\" parse=\"text\"/></v></r>");
        writeFile(QStringLiteral("plain.xml"), "<r><v>plain-value</v></r>");
        filesBefore_ = QDir(dir_.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

        report_ = LoadXmlDocument(QStringLiteral(VANTREL_TEMPLATES_DIR "/report1.tpl"));
        QVERIFY(GetLastErrorText().isEmpty());
    }

    void hostileStylesheet_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("outcome");

        const QByteArray exsl = "xmlns:exsl=\"http://exslt.org/common\" extension-element-prefixes=\"exsl\"";
        QTest::newRow("exsl:document writes a file")
            << stylesheet(rootTemplate("<exsl:document href=\"%DIR%/written.html\" method=\"html\"><b>x</b></exsl:document>"), exsl)
            << int(MustFail);
        QTest::newRow("exsl:document creates a folder")
            << stylesheet(rootTemplate("<exsl:document href=\"%DIR%/made/written.html\"><b>x</b></exsl:document>"), exsl)
            << int(MustFail);
        QTest::newRow("xsl:document in version 1.1")
            << stylesheet(rootTemplate("<xsl:document href=\"%DIR%/written11.html\"><b>x</b></xsl:document>"), {}, "1.1")
            << int(MustFail);
        QTest::newRow("document() over the network")
            << stylesheet(rootTemplate("<xsl:value-of select=\"document('http://127.0.0.1:%PORT%/d.xml')\"/>"))
            << int(EitherWay);
        QTest::newRow("xsl:include over the network")
            << stylesheet("<xsl:include href=\"http://127.0.0.1:%PORT%/inc.xsl\"/>" + rootTemplate(""))
            << int(MustFail);
        QTest::newRow("xsl:import over the network")
            << stylesheet("<xsl:import href=\"http://127.0.0.1:%PORT%/imp.xsl\"/>" + rootTemplate(""))
            << int(MustFail);
        QTest::newRow("document() of a file with an internal entity")
            << stylesheet(rootTemplate("<xsl:value-of select=\"document('%DIR%/entity.xml')//v\"/>")) << int(EitherWay);
        QTest::newRow("document() of a file with an external entity")
            << stylesheet(rootTemplate("<xsl:value-of select=\"document('%DIR%/external.xml')//v\"/>")) << int(EitherWay);
        QTest::newRow("document() of a file with an XInclude")
            << stylesheet(rootTemplate("<xsl:copy-of select=\"document('%DIR%/xinclude.xml')//v\"/>")) << int(EitherWay);
        QTest::newRow("document() of a text file")
            << stylesheet(rootTemplate("<xsl:value-of select=\"document('%DIR%/secret.txt')\"/>")) << int(EitherWay);
        QTest::newRow("xsl:message terminate")
            << stylesheet(rootTemplate("<xsl:message terminate=\"yes\">stop</xsl:message>")) << int(MustFail);
        QTest::newRow("undefined variable")
            << stylesheet(rootTemplate("<xsl:value-of select=\"$nowhere\"/>")) << int(MustFail);
        QTest::newRow("unknown instruction")
            << stylesheet(rootTemplate("<xsl:bogus/>")) << int(MustFail);
        QTest::newRow("unknown top-level instruction")
            << stylesheet("<xsl:bogus/>" + rootTemplate("")) << int(MustFail);
        QTest::newRow("bad XPath")
            << stylesheet(rootTemplate("<xsl:value-of select=\"//[\"/>")) << int(MustFail);
        QTest::newRow("call of a missing template")
            << stylesheet(rootTemplate("<xsl:call-template name=\"missing\"/>")) << int(MustFail);
        QTest::newRow("endless recursion")
            << stylesheet("<xsl:template match=\"/\"><xsl:call-template name=\"r\"/></xsl:template>"
                          "<xsl:template name=\"r\"><x><xsl:call-template name=\"r\"/></x></xsl:template>")
            << int(MustFail);
        QTest::newRow("unknown extension function")
            << stylesheet(rootTemplate("<xsl:value-of select=\"exsl:nothing()\"/>"), exsl) << int(MustFail);
        // The page functions: wrong argument counts stop the page; odd arguments do no harm.
        const QByteArray page = "xmlns:page=\"urn:vantrel:page\"";
        QTest::newRow("page:money without argument")
            << stylesheet(rootTemplate("<xsl:value-of select=\"page:money()\"/>"), page) << int(MustFail);
        QTest::newRow("page:compare with one argument")
            << stylesheet(rootTemplate("<xsl:value-of select=\"page:compare(1)\"/>"), page) << int(MustFail);
        QTest::newRow("page:sum of a tree fragment and a number")
            << stylesheet("<xsl:variable name=\"t\"><a>1</a><a>2.5</a></xsl:variable>"
                          + rootTemplate("<xsl:value-of select=\"page:sum($t, 0.5, //*, page:money(1 div 0))\"/>"), page)
            << int(EitherWay);
        QTest::newRow("not a stylesheet") << QByteArray("<Report><x/></Report>") << int(MustFail);
        QTest::newRow("produces nothing") << stylesheet("<xsl:template match=\"/\"/>") << int(MustFail);
    }

    void hostileStylesheet()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, outcome);
        text.replace("%PORT%", QByteArray::number(server_.serverPort()));
        text.replace("%DIR%", QUrl::fromLocalFile(dir_.path()).toEncoded());
        const XmlDocumentPtr style = ParseXmlText(text, QStringLiteral("hostile.tps"));
        QVERIFY2(GetLastErrorText().isEmpty(), qPrintable(GetLastErrorText()));
        QSignalSpy connections(&server_, &QTcpServer::newConnection);

        const XsltTransformer::Result result = XsltTransformer::transform(report_, style);

        if (outcome == MustFail)
            QVERIFY2(!result.ok, result.page.constData());
        if (!result.ok)
            QVERIFY(!result.error.isEmpty());
        QVERIFY(!result.page.contains(kForeign));
        QCOMPARE(QDir(dir_.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), filesBefore_);
        // The transform connects synchronously: an attempt is queued at the socket by now.
        server_.waitForNewConnection(0);
        QCOMPARE(connections.count(), 0);
        QVERIFY(!server_.hasPendingConnections());
    }

    void plainDocumentStillLoads()
    {
        // The loader that refuses entities must still read an ordinary file.
        const QByteArray text = stylesheet(rootTemplate("<xsl:value-of select=\"document('%DIR%/plain.xml')//v\"/>"))
                                    .replace("%DIR%", QUrl::fromLocalFile(dir_.path()).toEncoded());
        const XsltTransformer::Result result = XsltTransformer::transform(report_, ParseXmlText(text));
        QVERIFY2(result.ok, qPrintable(result.error));
        QVERIFY(result.page.contains("plain-value"));
    }

    void goodStylesheetWorksAfterBadOnes()
    {
        // Failures leave no state behind in the process-wide libxslt settings.
        XsltTransformer::transform(report_, ParseXmlText(stylesheet(rootTemplate("<xsl:bogus/>"))));
        XsltTransformer::transform(report_, ParseXmlText(stylesheet(rootTemplate("<xsl:message terminate=\"yes\"/>"))));
        const XmlDocumentPtr page = LoadXmlDocument(QStringLiteral(VANTREL_TEMPLATES_DIR "/report1.tps"));
        const XsltTransformer::Result result = XsltTransformer::transform(report_, page);
        QVERIFY2(result.ok, qPrintable(result.error));
        QVERIFY(result.page.startsWith("<!DOCTYPE html>"));
    }
};

QTEST_MAIN(TestHostileStylesheets)
#include "test_hostile_stylesheets.moc"
