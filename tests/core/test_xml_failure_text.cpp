// Why a document did not load, as a clerk reads it: the first error's cause in Chinese with
// its line and column and libxml2's text, the refusals, and the windows' own texts unchanged;
// and why a file could not be written.
#include "core/ReportFile.h"
#include "core/XmlDocumentAccess.h"
#include "core/XmlFailureText.h"
#include "core/WriteFailureText.h"

#include <QTest>

#include <cerrno>
#include <cstring>

using namespace xml;

namespace {

QString reasonFor(const QByteArray& bytes, QString* storeText = nullptr)
{
    QString error;
    const XmlDocumentPtr document = ParseXmlBytes(bytes, QStringLiteral("r.xm"), error);
    if (storeText)
        *storeText = error;
    return FailureText(document->parseError());
}

} // namespace

class TestXmlFailureText : public QObject {
    Q_OBJECT
private slots:
    void causeLineAndColumn_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason"); // the start of the text
        QTest::addColumn<QString>("libxml"); // in the brackets
        QTest::newRow("cut off") << QByteArray("<?xml version=\"1.0\"?>\n<Report>\n<A>x</A>\n<B>yy")
                                 << QStringLiteral("第 4 行第 6 列：标签没有结束") << QStringLiteral("Premature end of data in tag B");
        QTest::newRow("mismatch") << QByteArray("<Report>\n<A>x</B>\n</Report>")
                                  << QStringLiteral("第 2 行第 9 列：结束标签与开始标签不一致") << QStringLiteral("Opening and ending tag mismatch");
        QTest::newRow("after the root") << QByteArray("<Report/>\n<Other/>")
                                        << QStringLiteral("第 2 行第 1 列：根元素结束后还有多余的内容") << QStringLiteral("Extra content");
        QTest::newRow("control character") << QByteArray("<Report>a\x01" "b</Report>")
                                           << QStringLiteral("第 1 行第 10 列：含有 XML 不允许的字符") << QStringLiteral("invalid Char");
        // The first error names the cause; libxml2's last one ("Extra content…") would not.
        QTest::newRow("attribute") << QByteArray("<Report a=\"<\"/>")
                                   << QStringLiteral("第 1 行第 12 列：属性的写法不正确") << QStringLiteral("Unescaped '<'");
        QTest::newRow("bare ampersand") << QByteArray("<Report>A & B</Report>")
                                        << QStringLiteral("第 1 行第 12 列：“&”后面不是实体引用") << QStringLiteral("xmlParseEntityRef");
        QTest::newRow("unknown entity") << QByteArray("<Report>&nbsp;</Report>")
                                        << QStringLiteral("第 1 行第 15 列：引用了未定义的实体") << QStringLiteral("'nbsp'");
        QTest::newRow("empty") << QByteArray() << QStringLiteral("第 1 行第 1 列：文件是空的") << QStringLiteral("Document is empty");
        QTest::newRow("GBK bytes labelled UTF-8")
            << QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Report>\xB2\xE2\xCA\xD4</Report>")
            << QStringLiteral("第 2 行第 9 列：内容与文件声明的编码 UTF-8 不符") << QStringLiteral("not proper UTF-8");
        QTest::newRow("GBK bytes, no declaration") << QByteArray("<Report>\xB2\xE2\xCA\xD4</Report>")
                                                   << QStringLiteral("第 1 行第 9 列：文件没有声明编码，内容却不是 UTF-8")
                                                   << QStringLiteral("not proper UTF-8");
        // An encoding failure has no position of its own: the parser's next error gives it.
        QTest::newRow("not GB2312 either") << QByteArray("<?xml version=\"1.0\" encoding=\"GB2312\"?>\n<Report>\x81\x20</Report>")
                                           << QStringLiteral("第 2 行第 9 列：内容与文件声明的编码 GB2312 不符")
                                           << QStringLiteral("input conversion failed");
        QTest::newRow("unknown encoding") << QByteArray("<?xml version=\"1.0\" encoding=\"FOO-9\"?><Report/>")
                                          << QStringLiteral("第 1 行第 37 列：文件声明的编码 FOO-9 无法识别") << QStringLiteral("FOO-9");
        QTest::newRow("namespace") << QByteArray("<Report><a:b/></Report>")
                                   << QStringLiteral("第 1 行第 13 列：使用了未声明的命名空间前缀") << QStringLiteral("Namespace prefix a");
    }
    void causeLineAndColumn()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        QFETCH(QString, libxml);
        const QString text = reasonFor(bytes);
        QVERIFY2(text.startsWith(reason), qPrintable(text));
        const qsizetype open = text.indexOf(QStringLiteral("（"), reason.size());
        QVERIFY2(open > 0 && text.endsWith(QStringLiteral("）")), qPrintable(text));
        QVERIFY2(text.mid(open).contains(libxml), qPrintable(text));
        QVERIFY2(!text.contains(QLatin1Char('\n')), qPrintable(text));
    }

    void refusals()
    {
        const QByteArray doctype = "<?xml version=\"1.0\"?><!DOCTYPE Report [<!ENTITY a \"b\">]><Report>&a;</Report>";
        QCOMPARE(reasonFor(doctype), QStringLiteral("文件含有文档类型声明（DOCTYPE），为安全起见不予读取"));
        QByteArray huge(64 * 1024 * 1024 + 1, ' ');
        huge.replace(0, 9, "<Report/>");
        QCOMPARE(reasonFor(huge), QStringLiteral("文件超过 64 MiB，不予读取"));
        QCOMPARE(reasonFor("<Report/>"), QString());
    }

    // The windows show the store's fixed texts, whatever the cause; the cause rides along.
    void windowTextsStayAsTheyWere()
    {
        QString storeText;
        reasonFor("<Report><A></Report>", &storeText);
        QCOMPARE(storeText, QStringLiteral("无法打开指定文件r.xm"));
        reasonFor("<Report><a:b/></Report>", &storeText);
        QCOMPARE(storeText, QStringLiteral("文件格式错误:r.xm\\nNamespace prefix a on b is not defined"));
        const ReportFile report = ReadReportBytes("<Report><A></Report>", QStringLiteral("r.xm"));
        QVERIFY(!report.ok);
        QCOMPARE(report.error, QStringLiteral("无法打开指定文件r.xm"));
        QVERIFY(FailureText(report.loadError).startsWith(QStringLiteral("第 1 行第 21 列：")));
    }

    // A write that fails says why in Chinese for what a clerk meets (a read-only disk, a
    // full one), whether the reason comes as a number or as the system's own text; any
    // other reason is passed on as it came.
    void writeFailuresInChinese()
    {
        const QString readOnly = QString::fromLocal8Bit(std::strerror(EROFS));
        QCOMPARE(WriteFailureText(readOnly), QStringLiteral("磁盘是只读的"));
        QCOMPARE(WriteFailureText(ENOSPC), QStringLiteral("磁盘空间不足"));
        QCOMPARE(WriteFailureText(QStringLiteral("已经是中文")), QStringLiteral("已经是中文"));
        QCOMPARE(WriteFailureText(EXDEV), QString::fromLocal8Bit(std::strerror(EXDEV)));
    }
};

QTEST_GUILESS_MAIN(TestXmlFailureText)
#include "test_xml_failure_text.moc"
