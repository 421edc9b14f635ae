// Small helps on the form: loaded values show their start, and the long-text buttons
// show whether their text is filled without changing their captions.
#include "ReportFormTesting.h"
#include "ScriptedUi.h"
#include "TempProgramFolder.h"
#include "report/ReportForm.h"
#include "store/Module1.h"
#include "unitinfo/frmCorpInfo.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace testing;

class TestFormHints : public QObject {
    Q_OBJECT
private slots:
    void loadedValuesShowTheirStart()
    {
        ScriptedUi ui;
        TempProgramFolder folder;
        const QString longName = QStringLiteral("某某市某某区某某镇某某村明清古建筑群及其附属文物保护维修工程第一期");
        auto document = Module1::LoadXmlDocument(folder.file(QStringLiteral("report1.tpl")));
        Module1::SetNodeText(rootOf(document), QStringLiteral("//Report/BasicInfo/ProjectName"), longName);
        ReportForm form;
        QVERIFY(form.TransferReportFields(rootOf(document), false));
        QCOMPARE(form.projectNameBox()->text(), longName);
        for (const QLineEdit* box : form.findChildren<QLineEdit*>())
            QVERIFY2(box->cursorPosition() == 0, qPrintable(box->objectName()));

        Module1::UnitCode = QStringLiteral("410101");
        frmCorpInfo dialog;
        dialog.LoadUnitInfo();
        for (const QLineEdit* box : dialog.findChildren<QLineEdit*>())
            QVERIFY2(box->cursorPosition() == 0, qPrintable(box->objectName()));
        ui.finish();
    }

    void longTextButtonsShowWhetherFilled()
    {
        ReportForm form;
        for (int i = 0; i < 4; ++i) {
            QPushButton* button = form.longTextButton(i);
            const QString caption = button->text();
            QVERIFY(!button->font().bold());
            QCOMPARE(button->toolTip(), QStringLiteral("尚未填写"));
            form.longTextBox(i)->setPlainText(QStringLiteral(" 城墙东段坍塌 "));
            QVERIFY(button->font().bold());
            QCOMPARE(button->toolTip(), QStringLiteral("已填写 6 字"));
            QCOMPARE(button->accessibleDescription(), button->toolTip());
            QCOMPARE(button->text(), caption);
            form.longTextBox(i)->setPlainText(QStringLiteral("   "));
            QVERIFY(!button->font().bold());
            QCOMPARE(button->accessibleDescription(), QStringLiteral("尚未填写"));
        }
    }
};

QTEST_MAIN(TestFormHints)
#include "test_form_hints.moc"
