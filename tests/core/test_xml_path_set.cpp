// A path set must read exactly what GetNodeText reads path by path: the first
// match in document order, attributes, names in a namespace passed over, trimmed spaces,
// a byte-order mark kept, and general XPaths evaluated on their own.
#include "core/ReportFieldTable.h"
#include "core/XmlDocumentAccess.h"
#include "core/XmlPathSet.h"

#include <QTest>

using namespace xml;

class TestXmlPathSet : public QObject {
    Q_OBJECT

    static void compareWithGetNodeText(const QByteArray& bytes, const QStringList& paths)
    {
        QString error;
        const XmlDocumentPtr document = ParseXmlBytes(bytes, QStringLiteral("test.xml"), error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        const XmlNode root = documentElement(document);
        const XmlPathSet set(paths);
        QStringList expected;
        for (const QString& path : paths)
            expected << GetNodeText(root, path);
        QCOMPARE(set.texts(root), expected);
        // Read twice: nothing of one document stays for the next.
        QCOMPARE(set.texts(root), expected);
    }

private slots:
    void readsWhatGetNodeTextReads()
    {
        const QByteArray bytes = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
                                 "<R xmlns:n=\"urn:x\"><A><B>  first  </B><B>second</B><C k=\"v1\"/></A>"
                                 "<A><C/><C k=\" v2 \">x</C><n:D>in a namespace</n:D><D>plain</D></A>"
                                 "<E><B>other parent</B><F>\xEF\xBB\xBF" "bom</F><G><H>deep<I>er</I></H></G></E></R>";
        compareWithGetNodeText(bytes, {
            QStringLiteral("//R/A/B"), QStringLiteral("//A/B"), QStringLiteral("//B"), QStringLiteral("//E/B"),
            QStringLiteral("//A/C/@k"), QStringLiteral("//C/@missing"), QStringLiteral("//A/D"), QStringLiteral("//E/F"),
            QStringLiteral("//G/H"), QStringLiteral("//Nowhere/B"), QStringLiteral("//R/A/B"),
            QStringLiteral("/R/E/G/H/I"), QStringLiteral("count(//C)"), QStringLiteral("//A[2]/C[2]"),
        });
    }

    // Every field of the report table through the installed template.
    void readsEveryReportField()
    {
        QFile file(QStringLiteral(VANTREL_TEMPLATES_DIR "/report1.tpl"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QStringList paths;
        for (const ReportFieldTable::Field& field : ReportFieldTable::fields())
            paths << field.xpath;
        compareWithGetNodeText(file.readAll(), paths);
    }

    void noDocumentGivesEmptyTexts()
    {
        const XmlPathSet set({QStringLiteral("//A"), QStringLiteral("count(//A)")});
        QCOMPARE(set.texts(XmlNode{}), QStringList(2));
    }
};

QTEST_MAIN(TestXmlPathSet)
#include "test_xml_path_set.moc"
