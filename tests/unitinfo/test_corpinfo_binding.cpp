// Every field of the unit information between the dialog and its document.
#include "ScriptedUi.h"
#include "TempProgramFolder.h"
#include "ui/CodedList.h"
#include "TestDocuments.h"
#include "store/Settings.h"
#include "core/UnitInfoFields.h"
#include "unitinfo/UnitInfoDialog.h"

#include <QDate>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

using namespace testdoc;
using namespace xml;

namespace {

QString name(const UnitInfoField& f)
{
    return QString::fromUtf8(f.objectName);
}

bool isTextLike(const UnitInfoField& f)
{
    return f.kind == UnitInfoKind::Text || f.kind == UnitInfoKind::Number || f.kind == UnitInfoKind::LongText;
}

// Whether the template holds a node at the XPath: a value written there can be read back.
bool templateHas(const QString& xpath)
{
    XmlDocumentPtr doc = LoadXmlDocument(TempProgramFolder::templatesDir() + QStringLiteral("/corpinfo.tpl"));
    const XmlNode root = documentElement(doc);
    SetNodeText(root, xpath, QStringLiteral("标记"));
    return GetNodeText(root, xpath) == QStringLiteral("标记");
}

// A value for each text field that the holdings rule accepts, with blanks around it.
QString typedValue(const QString& object)
{
    static const QHash<QString, QString> counts = {
        {"Text29", "1000"},
        {"Text9(0)", "6"}, {"Text10(0)", "1"}, {"Text11(0)", "2"}, {"Text12(0)", "3"},
        {"Text9(1)", "7"}, {"Text10(1)", "1"}, {"Text11(1)", "2"}, {"Text12(1)", "4"},
        {"Text9(2)", "8"}, {"Text10(2)", "1"}, {"Text11(2)", "2"}, {"Text12(2)", "5"},
        {"Text9(3)", "9"}, {"Text10(3)", "1"}, {"Text11(3)", "2"}, {"Text12(3)", "6"},
    };
    return counts.value(object, QStringLiteral("值 ") + object);
}

} // namespace

class TestCorpInfoBinding : public QObject {
    Q_OBJECT
private slots:
    void init() { folder = std::make_unique<TempProgramFolder>(); folder->settings.unitCode = QStringLiteral("410101"); }
    void cleanup() { ui.finish(); folder.reset(); }

    void templateHoldsEveryField()
    {
        XmlDocumentPtr doc = LoadXmlDocument(TempProgramFolder::templatesDir() + QStringLiteral("/corpinfo.tpl"));
        QVERIFY(GetLastErrorText().isEmpty());
        QCOMPARE(doc->declaredEncoding().toUpper(), QStringLiteral("UTF-8"));
        QStringList missing;
        int coded = 0;
        for (const UnitInfoField& f : UnitInfoFields::fields()) {
            if (!f.path)
                continue;
            if (!templateHas(UnitInfoFields::xpath(f)))
                missing << QString::fromUtf8(f.path);
            if (f.kind == UnitInfoKind::Coded) {
                ++coded;
                if (!templateHas(UnitInfoFields::xpath(f) + QStringLiteral("/@dict")))
                    missing << QString::fromUtf8(f.path) + QStringLiteral("/@dict");
            }
        }
        for (const char* header : {"ReportInfo/CorpID", "ReportInfo/CorpName", "ReportInfo/ReportDate", "Basic/CorpID"})
            if (!templateHas(QStringLiteral("//CorpInfo/") + QLatin1String(header)))
                missing << QLatin1String(header);
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QLatin1Char(' '))));
        QCOMPARE(coded, 10);
    }

    void roundTripOfEveryField()
    {
        UnitInfoDialog out(folder->settings);
        out.document = LoadXmlDocument(folder->file(QStringLiteral("corpinfo.tpl")));
        const auto all = UnitInfoFields::fields();
        for (std::size_t i = 0; i < all.size(); ++i) {
            const UnitInfoField& f = all[i];
            if (auto* box = qobject_cast<QLineEdit*>(out.fieldWidgets()[i]); box && isTextLike(f))
                box->setText(QStringLiteral("  ") + typedValue(name(f)) + QStringLiteral(" "));
            else if (auto* text = qobject_cast<QPlainTextEdit*>(out.fieldWidgets()[i]))
                text->setPlainText(QStringLiteral(" 第一行\n第二行 "));
            else if (auto* list = qobject_cast<CodedList*>(out.fieldWidgets()[i]))
                list->selectItem(list->count() - 1);
        }
        QVERIFY(out.transferFields(true));
        QCOMPARE(ui.texts, QStringList());

        // In the document: trimmed values, the last item's code and text.
        const XmlNode root = documentElement(out.document);
        for (const UnitInfoField& f : all) {
            if (isTextLike(f) && f.kind != UnitInfoKind::LongText) {
                QCOMPARE(GetNodeText(root, UnitInfoFields::xpath(f)), typedValue(name(f)));
            } else if (f.kind == UnitInfoKind::Coded) {
                const CodedItem last = UnitInfoFields::items(f.list).back();
                QCOMPARE(GetNodeText(root, UnitInfoFields::xpath(f)), QString::number(last.code));
                QCOMPARE(GetNodeText(root, UnitInfoFields::xpath(f) + QStringLiteral("/@dict")),
                         QString::fromUtf8(last.text));
            }
        }
        QCOMPARE(GetNodeText(root, QStringLiteral("//CorpInfo/Reserve/DamageDescription")),
                 QStringLiteral("第一行\n第二行"));

        // Back into a fresh dialog: every control shows what was stored.
        UnitInfoDialog in(folder->settings);
        in.document = out.document;
        QVERIFY(in.transferFields(false));
        for (std::size_t i = 0; i < all.size(); ++i) {
            const UnitInfoField& f = all[i];
            if (auto* box = qobject_cast<QLineEdit*>(in.fieldWidgets()[i]); box && isTextLike(f))
                QCOMPARE(box->text(), typedValue(name(f)));
            else if (auto* list = qobject_cast<CodedList*>(in.fieldWidgets()[i]))
                QCOMPARE(list->currentIndex(), list->count() - 1);
        }
        QCOMPARE(in.descriptionBox()->toPlainText(), QStringLiteral("第一行\n第二行"));
        QCOMPARE(in.textBox(QStringLiteral("Text1"))->text(), QStringLiteral("410101"));
    }

    void emptyBoxesTakeTheirDefaults()
    {
        UnitInfoDialog dialog(folder->settings);
        dialog.document = LoadXmlDocument(folder->file(QStringLiteral("corpinfo.tpl")));
        for (QWidget* w : dialog.fieldWidgets())
            if (auto* box = qobject_cast<QLineEdit*>(w))
                box->clear();
        dialog.textBox(QStringLiteral("Text3"))->setText(QStringLiteral("   "));
        QVERIFY(dialog.transferFields(true));
        const XmlNode root = documentElement(dialog.document);
        for (const UnitInfoField& f : UnitInfoFields::fields()) {
            if (!isTextLike(f))
                continue;
            const QString expected = QString::fromUtf8(f.defaultText);
            QCOMPARE(GetNodeText(root, UnitInfoFields::xpath(f)), expected);
            if (f.kind != UnitInfoKind::LongText && name(f) != QLatin1String("Text3"))
                QCOMPARE(dialog.textBox(name(f))->text(), expected);
        }
        // A box of blanks is not empty: it stores an empty text and keeps its blanks.
        QCOMPARE(dialog.textBox(QStringLiteral("Text3"))->text(), QStringLiteral("   "));
        QCOMPARE(dialog.textBox(QStringLiteral("Text10(2)"))->text(), QStringLiteral("0"));
        QCOMPARE(dialog.textBox(QStringLiteral("Text29"))->text(), QString());
    }

    void emptyElementsShowTheirDefaults()
    {
        UnitInfoDialog dialog(folder->settings);
        dialog.document = ParseXmlText(
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?><CorpInfo><Reserve><TotalItemNum>  </TotalItemNum>"
            "<ItemDetail><ThirdClassItem><DetailNum><GoodNum/></DetailNum></ThirdClassItem></ItemDetail></Reserve>"
            "</CorpInfo>");
        for (QWidget* w : dialog.fieldWidgets())
            if (auto* box = qobject_cast<QLineEdit*>(w))
                box->setText(QStringLiteral("旧值"));
        QVERIFY(dialog.transferFields(false));
        QCOMPARE(dialog.textBox(QStringLiteral("Text10(2)"))->text(), QStringLiteral("0"));
        QCOMPARE(dialog.textBox(QStringLiteral("Text29"))->text(), QString());
        QCOMPARE(dialog.textBox(QStringLiteral("Text2"))->text(), QString());
        QCOMPARE(dialog.textBox(QStringLiteral("Text21"))->text(), QStringLiteral("0"));
    }

    void riskLevelFromTheStoredCode_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("20") << "20" << "二级风险单位";
        QTest::newRow("20.0") << "20.0" << "二级风险单位";
        QTest::newRow("90") << "90" << "其他";
        QTest::newRow("15, no such item") << "15" << "一级风险单位";
        QTest::newRow("a word") << "高" << "一级风险单位";
        QTest::newRow("empty") << "" << "一级风险单位";
    }
    void riskLevelFromTheStoredCode()
    {
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        UnitInfoDialog dialog(folder->settings);
        dialog.codedList(QStringLiteral("Combo5"))->selectItem(2);
        dialog.document = LoadXmlDocument(folder->file(QStringLiteral("corpinfo.tpl")));
        SetNodeText(documentElement(dialog.document), QStringLiteral("//CorpInfo/Basic/Risc"), stored);
        dialog.transferFields(false);
        QCOMPARE(dialog.codedList(QStringLiteral("Combo5"))->currentText(), shown);
    }

    void headerIsStampedWhateverItHeld()
    {
        UnitInfoDialog dialog(folder->settings);
        dialog.document = LoadXmlDocument(folder->file(QStringLiteral("corpinfo.tpl")));
        const XmlNode root = documentElement(dialog.document);
        SetNodeText(root, QStringLiteral("//CorpInfo/ReportInfo/CorpID"), QStringLiteral("999999"));
        SetNodeText(root, QStringLiteral("//CorpInfo/Basic/CorpID"), QStringLiteral("888888"));
        SetNodeText(root, QStringLiteral("//CorpInfo/ReportInfo/ReportDate"), QStringLiteral("1999-01-01"));
        dialog.textBox(QStringLiteral("Text1"))->setText(QStringLiteral("777777")); // never the source
        dialog.textBox(QStringLiteral("Text2"))->setText(QStringLiteral(" 郑州市博物馆 "));
        QVERIFY(dialog.transferFields(true));
        QCOMPARE(GetNodeText(root, QStringLiteral("//CorpInfo/ReportInfo/CorpID")), QStringLiteral("410101"));
        QCOMPARE(GetNodeText(root, QStringLiteral("//CorpInfo/Basic/CorpID")), QStringLiteral("410101"));
        QCOMPARE(GetNodeText(root, QStringLiteral("//CorpInfo/ReportInfo/CorpName")), QStringLiteral("郑州市博物馆"));
        QCOMPARE(GetNodeText(root, QStringLiteral("//CorpInfo/ReportInfo/ReportDate")),
                 QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
    }

    void failedCheckLeavesTheDocumentUntouched()
    {
        UnitInfoDialog dialog(folder->settings);
        dialog.document = LoadXmlDocument(folder->file(QStringLiteral("corpinfo.tpl")));
        const QByteArray before = SerializeXmlDocument(dialog.document);
        dialog.textBox(QStringLiteral("Text2"))->setText(QStringLiteral("郑州市博物馆"));
        dialog.textBox(QStringLiteral("Text9(0)"))->setText(QStringLiteral("3"));
        QVERIFY(!dialog.transferFields(true));
        QCOMPARE(ui.texts.size(), 1);
        QCOMPARE(SerializeXmlDocument(dialog.document), before);
    }

    void templateWithoutDictStillStoresTheCode()
    {
        UnitInfoDialog dialog(folder->settings);
        dialog.document = ParseXmlText(
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?><CorpInfo><Basic><Type>10</Type></Basic></CorpInfo>");
        dialog.codedList(QStringLiteral("Combo1"))->selectItem(2);
        QVERIFY(dialog.transferFields(true));
        const XmlNode root = documentElement(dialog.document);
        QCOMPARE(GetNodeText(root, QStringLiteral("//CorpInfo/Basic/Type")), QStringLiteral("30"));
        QVERIFY(!SerializeXmlDocument(dialog.document).contains("dict"));
    }

private:
    ScriptedUi ui;
    std::unique_ptr<TempProgramFolder> folder;
};

QTEST_MAIN(TestCorpInfoBinding)
#include "test_corpinfo_binding.moc"
