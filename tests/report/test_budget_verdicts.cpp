// One verdict on a report's budget, wherever it is given: Save's check, the running sums
// and marks the form shows while the clerk types, and the bureau's batch checker must all
// name the same first broken rule (or none) for the same stored values.
#include "../core/ControlNames.h"
#include "ScriptedUi.h"
#include "check/FileChecker.h"
#include "core/BudgetReport.h"
#include "core/BudgetRules.h"
#include "core/XmlDocumentAccess.h"
#include "report/BudgetStatus.h"
#include "report/CostLineMark.h"
#include "report/ReportForm.h"

#include <QTest>

namespace {

const QString kTemplate = QStringLiteral(VANTREL_TEMPLATES_DIR "/report1.tpl");

// The blank template with boxes set ("Text32=5") and elements removed ("-Text12(0)"),
// as a unit might send it.
QByteArray reportBytes(const QStringList& settings)
{
    QString error;
    const xml::XmlDocumentPtr document = xml::ReadXmlDocument(kTemplate, error);
    const xml::XmlNode root = xml::documentElement(document);
    for (const QString& setting : settings) {
        const ReportFieldTable::Field* field = nullptr;
        if (setting.startsWith(QLatin1Char('-'))) {
            field = ReportFieldTable::field(fieldOf(setting.mid(1)));
            xmlNodePtr node = xml::SelectFirstNode(root, field->xpath);
            xmlUnlinkNode(node);
            xmlFreeNode(node);
            continue;
        }
        const qsizetype at = setting.indexOf(QLatin1Char('='));
        field = ReportFieldTable::field(fieldOf(setting.left(at)));
        xml::SetNodeText(root, field->xpath, setting.mid(at + 1));
    }
    return xml::SerializeXmlDocument(document);
}

// What the form shows: a cost line marked over its total is rule 1; the running sums'
// rows are rules 2, 3 and 4, on every tab that has them.
int formVerdict(ReportForm& form)
{
    form.buildAllTabs();
    for (const CostLineMark* mark : form.findChildren<CostLineMark*>())
        if (mark->isExceeded())
            return 1;
    for (int row = 0; row < 3; ++row) {
        const bool broken = form.budgetStatus(1)->isBroken(row);
        for (int tab = 2; tab <= 3; ++tab)
            if (form.budgetStatus(tab)->isBroken(row) != broken)
                return -1; // the tabs disagree
        if (broken)
            return row + 2;
    }
    return 0;
}

int batchVerdict(const QByteArray& bytes)
{
    InputItem item;
    item.path = item.fileName = QStringLiteral("qzrt_410101_A01.xm");
    item.bytes = bytes;
    const FileResult result = FileChecker::check(item);
    if (result.status != FileResult::Status::Checked)
        return -1;
    for (const CheckFinding& finding : result.findings)
        if (finding.kind == FileChecker::budgetRuleKind())
            for (int rule = 1; rule <= 4; ++rule)
                if (finding.message == BudgetRuleMessage(rule))
                    return rule;
    return 0;
}

} // namespace

class TestBudgetVerdicts : public QObject {
    Q_OBJECT
private slots:
    void sameVerdictEverywhere_data()
    {
        QTest::addColumn<QStringList>("settings");
        QTest::addColumn<int>("rule");
        QTest::newRow("new report") << QStringList{} << 0;
        QTest::newRow("all rules hold") << QStringList{"Text32=100", "Text12(0)=60", "Text13(0)=40", "Text17(0)=90",
                                                        "Text18(0)=60"} << 0;
        QTest::newRow("share above its total") << QStringList{"Text32=9", "Text12(0)=9", "Text19(1)=1", "Text20(1)=2"} << 1;
        QTest::newRow("last cost line") << QStringList{"Text27(1)=0.01", "Text28(1)=0.02"} << 1;
        QTest::newRow("years above the demand") << QStringList{"Text32=29.99", "Text12(0)=10", "Text13(4)=20"} << 2;
        QTest::newRow("budget above the demand") << QStringList{"Text32=49.9", "Text17(3)=20", "Text25(1)=30"} << 3;
        QTest::newRow("shares above the years' central")
            << QStringList{"Text32=100", "Text12(1)=39.99", "Text17(0)=60", "Text18(0)=25", "Text27(1)=15", "Text28(1)=15"}
            << 4;
        QTest::newRow("0.1 + 0.2 = 0.3") << QStringList{"Text32=0.3", "Text12(0)=0.1", "Text13(0)=0.2"} << 0;
        QTest::newRow("one cent over") << QStringList{"Text32=0.3", "Text12(0)=0.1", "Text13(0)=0.21"} << 2;
        QTest::newRow("more decimals than cents") << QStringList{"Text32=1.0000001", "Text17(0)=1.00000011"} << 3;
        QTest::newRow("full-width and grouped digits")
            << QStringList{QStringLiteral("Text32=１，０００"), "Text12(0)=1,000", QStringLiteral("Text17(0)=１０００．００"),
                           "Text18(0)=999.99"}
            << 0;
        QTest::newRow("a non-number counts as 0") << QStringList{"Text32=abc", "Text12(0)=1"} << 2;
        QTest::newRow("a non-number share") << QStringList{"Text32=3", "Text17(0)=3", "Text18(0)=abc"} << 0;
        QTest::newRow("an absent demand total") << QStringList{"-Text32", "Text12(0)=1"} << 2;
        QTest::newRow("an absent share") << QStringList{"Text32=5", "Text17(2)=5", "-Text18(2)"} << 0;
        QTest::newRow("an absent total") << QStringList{"Text32=5", "Text12(0)=5", "-Text17(2)", "Text18(2)=5"} << 1;
        QTest::newRow("negative amounts") << QStringList{"Text17(0)=-5", "Text18(0)=-10"} << 0;
    }
    void sameVerdictEverywhere()
    {
        QFETCH(QStringList, settings);
        QFETCH(int, rule);
        const QByteArray bytes = reportBytes(settings);
        QString error;
        BudgetReport report;
        report.setDocument(xml::ParseXmlBytes(bytes, QString(), error));
        QVERIFY(error.isEmpty());

        ReportForm form;
        form.setValues(report.values());
        QCOMPARE(formVerdict(form), rule);
        QCOMPARE(batchVerdict(bytes), rule);
        QCOMPARE(report.checkBudget().brokenRule, rule);
        QCOMPARE(ui_.texts, QStringList());
    }

private:
    ScriptedUi ui_;
};

QTEST_MAIN(TestBudgetVerdicts)
#include "test_budget_verdicts.moc"
