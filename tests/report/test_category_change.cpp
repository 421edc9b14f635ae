// A clerk's pick of a project type of another group asks before it wipes typed amounts;
// the program's own selections (New, Open, loading) never ask.
#include "ReportFormTesting.h"
#include "ScriptedUi.h"
#include "TempProgramFolder.h"
#include "report/ReportForm.h"
#include "report/frmMain.h"
#include "store/CodedList.h"
#include "store/Module1.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QTest>
#include <memory>

using namespace testing;

namespace {

const QString kQuestion = QStringLiteral("更改项目类别将把已填写的预算金额全部清零，是否继续？");
constexpr int kRestoration = 1;      // 古建维修, group 1
constexpr int kSitePlanning = 17;    // 遗址保护规划, group 7, same frame
constexpr int kSiteProtection = 18;  // 遗址保护, group 7
constexpr int kFireSafety = 15;      // 安全消防, group 5

// What a click in the drop-down does: the index changes, then the pick is reported.
void userPicks(CodedList* list, int index)
{
    list->setCurrentIndex(index);
    emit list->activated(index);
}

} // namespace

class TestCategoryChange : public QObject {
    Q_OBJECT

    std::unique_ptr<ScriptedUi> ui;
    std::unique_ptr<TempProgramFolder> dir;
    std::unique_ptr<frmMain> w;

    CodedList* types() const { return w->form()->projectTypeList(); }
    QLineEdit* amount(const char* name) const { return box(*w->form(), QString::fromLatin1(name)); }

private slots:
    void init()
    {
        ui = std::make_unique<ScriptedUi>();
        dir = std::make_unique<TempProgramFolder>();
        dir->writeCompleteSettings();
        w = std::make_unique<frmMain>();
        w->Form_Load(dir->path());
        userPicks(types(), kRestoration);
        amount("Text19(0)")->setText(QStringLiteral("12"));
    }
    void cleanup()
    {
        ui->finish();
        w.reset();
        dir.reset();
        ui.reset();
    }

    void cancelKeepsTypeAmountsFrameAndModifiedState_data()
    {
        QTest::addColumn<bool>("modified");
        QTest::newRow("clean report") << false;
        QTest::newRow("modified report") << true;
    }
    void cancelKeepsTypeAmountsFrameAndModifiedState()
    {
        QFETCH(bool, modified);
        w->SetModified(modified);
        const QStringList before = budgetTexts(*w->form());
        const QList<bool> frames = enabledFrames(*w->form());
        ui->answerQuestion(false);
        userPicks(types(), kSiteProtection);
        QCOMPARE(ui->questions, QStringList{kQuestion});
        QCOMPARE(types()->currentIndex(), kRestoration);
        QCOMPARE(budgetTexts(*w->form()), before);
        QCOMPARE(enabledFrames(*w->form()), frames);
        QCOMPARE(w->form()->projectGroup(), 1);
        QCOMPARE(w->dirtyData, modified);
    }

    void okResetsEveryAmount()
    {
        w->SetModified(false);
        ui->answerQuestion(true);
        userPicks(types(), kFireSafety);
        QCOMPARE(ui->questions, QStringList{kQuestion});
        QCOMPARE(budgetTexts(*w->form()), QStringList(58, QStringLiteral("0")));
        QCOMPARE(enabledFrames(*w->form()), onlyFrame(4));
        QVERIFY(w->dirtyData);
    }

    // Nothing would be lost: within a group nothing is reset, and zeros are no amounts.
    void noQuestionWhenNothingIsLost()
    {
        ui->answerQuestion(true);
        userPicks(types(), kSiteProtection);
        userPicks(types(), kSitePlanning);
        amount("Text19(0)")->setText(QStringLiteral("5"));
        userPicks(types(), kSiteProtection);
        QCOMPARE(amount("Text19(0)")->text(), QStringLiteral("5"));
        amount("Text19(0)")->setText(QStringLiteral(" 0 "));
        amount("Text20(0)")->clear();
        userPicks(types(), kFireSafety);
        QCOMPARE(ui->questions, QStringList{kQuestion});
    }

    void loadingAndNewNeverAsk()
    {
        auto document = Module1::LoadXmlDocument(dir->file(QStringLiteral("report1.tpl")));
        Module1::SetNodeText(rootOf(document), QStringLiteral("//Report/BasicInfo/ProjectType"), QStringLiteral("50"));
        QVERIFY(w->form()->TransferReportFields(rootOf(document), false));
        QCOMPARE(types()->currentIndex(), kFireSafety);
        amount("Text17(3)")->setText(QStringLiteral("9"));
        w->SetModified(false);
        w->M_FileNew_Click();
        QCOMPARE(types()->currentIndex(), 0);
        QCOMPARE(ui->questions, QStringList());
    }
};

QTEST_MAIN(TestCategoryChange)
#include "test_category_change.moc"
