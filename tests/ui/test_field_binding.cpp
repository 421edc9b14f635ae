// Moving single values between form controls and document nodes.
#include "ui/CodedList.h"
#include "ui/FieldBinding.h"
#include "TestDocuments.h"
#include "store/Settings.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>

using namespace testdoc;
using namespace xml;
using namespace binding;

namespace {
const CodedItem kTypes[] = {{11, "古建维修规划"}, {12, "古建维修"}, {21, "田野考古调查"}};
const char kDoc[] = "<r><num> 5 </num><text>甲</text><empty/><type dict=\"\">21</type><ml>一\n二</ml></r>";
} // namespace

class TestBinding : public QObject {
    Q_OBJECT
private slots:
    void textToDocument_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("defaultText");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("boxAfter");
        QTest::newRow("empty amount takes 0") << QString() << QStringLiteral("0") << QStringLiteral("0") << QStringLiteral("0");
        QTest::newRow("spaces around 5") << QStringLiteral("  5  ") << QStringLiteral("0") << QStringLiteral("5") << QStringLiteral("  5  ");
        QTest::newRow("only spaces store empty") << QStringLiteral("   ") << QStringLiteral("0") << QString() << QStringLiteral("   ");
        QTest::newRow("empty free text") << QString() << QString() << QString() << QString();
    }
    void textToDocument()
    {
        QFETCH(QString, typed);
        QFETCH(QString, defaultText);
        QFETCH(QString, stored);
        QFETCH(QString, boxAfter);
        XmlDocumentPtr doc = ParseXmlText(kDoc);
        QLineEdit box;
        box.setText(typed);
        TransferTextField(documentElement(doc), &box, QStringLiteral("//r/num"), true, defaultText);
        QCOMPARE(GetNodeText(documentElement(doc), QStringLiteral("//r/num")), stored);
        QCOMPARE(box.text(), boxAfter);
    }

    void textToForm()
    {
        XmlDocumentPtr doc = ParseXmlText(kDoc);
        const XmlNode root = documentElement(doc);
        QLineEdit box;
        TransferTextField(root, &box, QStringLiteral("//r/num"), false, QStringLiteral("0"));
        QCOMPARE(box.text(), QStringLiteral("5"));
        TransferTextField(root, &box, QStringLiteral("//r/empty"), false, QStringLiteral("0"));
        QCOMPARE(box.text(), QStringLiteral("0"));
        TransferTextField(root, &box, QStringLiteral("//r/missing"), false, QString());
        QCOMPARE(box.text(), QString());
        QPlainTextEdit long_;
        TransferTextField(root, &long_, QStringLiteral("//r/ml"), false, QString());
        QCOMPARE(long_.toPlainText(), QStringLiteral("一\n二"));
        long_.setPlainText(QStringLiteral("三\n四 "));
        TransferTextField(root, &long_, QStringLiteral("//r/ml"), true, QString());
        QCOMPARE(GetNodeText(root, QStringLiteral("//r/ml")), QStringLiteral("三\n四"));
    }

    void comboToForm_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("index");
        QTest::newRow("code") << QStringLiteral("12") << 1;
        QTest::newRow("code with decimals") << QStringLiteral("12.0") << 1;
        QTest::newRow("word") << QStringLiteral("古建") << 0;
        QTest::newRow("empty") << QString() << 0;
        QTest::newRow("unknown code") << QStringLiteral("99") << 0;
        QTest::newRow("last item") << QStringLiteral("21") << 2;
    }
    void comboToForm()
    {
        QFETCH(QString, stored);
        QFETCH(int, index);
        XmlDocumentPtr doc = ParseXmlText("<r><type/></r>");
        SetNodeText(documentElement(doc), QStringLiteral("//r/type"), stored);
        CodedList list;
        list.setItems(kTypes);
        list.setCurrentIndex(index); // already there: a selection must still be reported
        QSignalSpy selected(&list, &CodedList::itemSelected);
        TransferComboField(documentElement(doc), &list, QStringLiteral("//r/type"), false);
        QCOMPARE(list.currentIndex(), index);
        QVERIFY(!selected.isEmpty());
        QCOMPARE(selected.last().at(0).toInt(), index);
    }

    void comboToDocument()
    {
        XmlDocumentPtr doc = ParseXmlText(kDoc);
        const XmlNode root = documentElement(doc);
        CodedList list;
        list.setItems(kTypes);
        list.setCurrentIndex(-1);
        TransferComboField(root, &list, QStringLiteral("//r/type"), true);
        QCOMPARE(GetNodeText(root, QStringLiteral("//r/type")), QStringLiteral("11"));
        QCOMPARE(GetNodeText(root, QStringLiteral("//r/type/@dict")), QStringLiteral("古建维修规划"));
        list.setCurrentIndex(2);
        TransferComboField(root, &list, QStringLiteral("//r/type"), true);
        QCOMPARE(GetNodeText(root, QStringLiteral("//r/type")), QStringLiteral("21"));
        QCOMPARE(GetNodeText(root, QStringLiteral("//r/type/@dict")), QStringLiteral("田野考古调查"));

        // No dict attribute in the document: only the code is stored.
        XmlDocumentPtr bare = ParseXmlText("<r><type/></r>");
        TransferComboField(documentElement(bare), &list, QStringLiteral("//r/type"), true);
        QCOMPARE(GetNodeText(documentElement(bare), QStringLiteral("//r/type")), QStringLiteral("21"));
        QVERIFY(!SerializeXmlDocument(bare).contains("dict"));

        // An empty list writes nothing.
        CodedList empty;
        TransferComboField(root, &empty, QStringLiteral("//r/type"), true);
        QCOMPARE(GetNodeText(root, QStringLiteral("//r/type")), QStringLiteral("21"));
    }
};

QTEST_MAIN(TestBinding)
#include "test_field_binding.moc"
