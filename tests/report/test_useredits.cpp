// Every change the user makes is reported once it happens; what the program fills in
// while loading is not, and keys that change nothing are not.
#include "ReportFormTesting.h"
#include "ScriptedUi.h"
#include "TempProgramFolder.h"
#include "report/ReportController.h"
#include "report/ReportForm.h"
#include "ui/CodedList.h"

#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QTest>

using namespace testing;

namespace {

// QTest::keyClicks handles Latin-1 only; Chinese goes in character by character.
void typeText(QWidget* widget, const QString& text)
{
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

} // namespace

class TestUserEdits : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        ui_ = new ScriptedUi;
        folder_ = new TempProgramFolder;
        folder_->writeCompleteSettings();
        QVERIFY(folder_->settings.load() == Settings::State::Complete);
        form_ = new ReportForm;
        // The controller asks the form's questions and saves it.
        controller_ = new ReportController(folder_->settings, form_, form_);
        showDocument(*form_, testdoc::LoadXmlDocument(folder_->file(QStringLiteral("report1.tpl"))));
        form_->resize(880, 520);
        form_->show();
        QApplication::setActiveWindow(form_);
        QVERIFY(QTest::qWaitForWindowActive(form_));
        spy_ = new QSignalSpy(form_, &ReportForm::edited);
    }
    void cleanup()
    {
        delete spy_;
        delete controller_;
        delete form_;
        delete folder_;
        ui_->finish();
        delete ui_;
    }

    void editsThatChangeTheText_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("after");
        QTest::newRow("typing") << "Text1" << "" << "type:P01" << "P01";
        QTest::newRow("typing Chinese") << "Text2" << "" << QStringLiteral("type:城墙修缮") << QStringLiteral("城墙修缮");
        QTest::newRow("typing into a zero") << "Text32" << "0" << "type:5" << "05";
        QTest::newRow("typing an amount") << "Text17(0)" << "0" << "type:.5" << "0.5";
        QTest::newRow("year box") << "Text13(2)" << "0" << "type:1" << "01";
        QTest::newRow("backspace") << "Text9" << "12" << "backspace" << "1";
        QTest::newRow("delete") << "Text8" << "ab" << "home-delete" << "b";
        QTest::newRow("paste") << "Text2" << QStringLiteral("城") << "paste" << QStringLiteral("城粘贴𠀀");
        QTest::newRow("cut") << "Text1" << "abc" << "cut" << "";
        QTest::newRow("undo") << "Text1" << "" << "type-undo" << "";
    }
    void editsThatChangeTheText()
    {
        QFETCH(QString, name);
        QFETCH(QString, before);
        QFETCH(QString, action);
        QFETCH(QString, after);
        QLineEdit* target = box(*form_, name);
        target->setText(before);
        for (int tab = 0; tab < form_->count(); ++tab)
            if (form_->widget(tab)->isAncestorOf(target))
                form_->setCurrentIndex(tab);
        target->setFocus();
        QCOMPARE(spy_->count(), 0); // setting text from code is no edit
        if (action.startsWith("type:")) {
            typeText(target, action.mid(5));
        } else if (action == "backspace") {
            QTest::keyClick(target, Qt::Key_Backspace);
        } else if (action == "home-delete") {
            QTest::keyClick(target, Qt::Key_Home);
            QTest::keyClick(target, Qt::Key_Delete);
        } else if (action == "paste") {
            QApplication::clipboard()->setText(QStringLiteral("粘贴𠀀"));
            QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
        } else if (action == "cut") {
            target->selectAll();
            QTest::keyClick(target, Qt::Key_X, Qt::ControlModifier);
            QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("abc"));
        } else if (action == "type-undo") {
            QTest::keyClicks(target, "x");
            QCOMPARE(spy_->count(), 1);
            QTest::keyClick(target, Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(spy_->count(), 2);
        }
        QCOMPARE(target->text(), after);
        QVERIFY(spy_->count() >= 1);
    }

    void keysThatChangeNothing_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("left arrow") << "12" << int(Qt::Key_Left) << int(Qt::NoModifier);
        QTest::newRow("home") << "12" << int(Qt::Key_Home) << int(Qt::NoModifier);
        QTest::newRow("backspace in an empty box") << "" << int(Qt::Key_Backspace) << int(Qt::NoModifier);
        QTest::newRow("delete at the end") << "12" << int(Qt::Key_Delete) << int(Qt::NoModifier);
        QTest::newRow("shift") << "12" << int(Qt::Key_Shift) << int(Qt::ShiftModifier);
        QTest::newRow("copy") << "12" << int(Qt::Key_C) << int(Qt::ControlModifier);
        QTest::newRow("select all") << "12" << int(Qt::Key_A) << int(Qt::ControlModifier);
        QTest::newRow("undo with nothing to undo") << "12" << int(Qt::Key_Z) << int(Qt::ControlModifier);
    }
    void keysThatChangeNothing()
    {
        QFETCH(QString, before);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QLineEdit* target = box(*form_, "Text1");
        target->setText(before);
        target->setFocus();
        target->end(false);
        QTest::keyClick(target, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(target->text(), before);
        QCOMPARE(spy_->count(), 0);
    }

    // Replacing a selected "0" by the same "0" leaves the value as it was.
    void retypingTheSameTextIsNoChange()
    {
        QLineEdit* target = box(*form_, "Text32");
        target->setFocus();
        target->selectAll();
        QTest::keyClicks(target, "0");
        QCOMPARE(target->text(), QStringLiteral("0"));
        QCOMPARE(spy_->count(), 0);
        QTest::keyClicks(target, "1");
        QCOMPARE(spy_->count(), 1);
    }

    void longTextAreas()
    {
        form_->setCurrentIndex(0);
        QPlainTextEdit* area = plain(*form_, "Text30");
        area->setFocus();
        QTest::keyClick(area, Qt::Key_Backspace); // empty: nothing changes
        QTest::keyClick(area, Qt::Key_Left);
        QCOMPARE(spy_->count(), 0);
        typeText(area, QStringLiteral("设备"));
        QCOMPARE(area->toPlainText(), QStringLiteral("设备"));
        QCOMPARE(spy_->count(), 2);
        QTest::keyClick(area, Qt::Key_Backspace);
        QCOMPARE(spy_->count(), 3);
        QApplication::clipboard()->setText(QStringLiteral("一\n二"));
        QTest::keyClick(plain(*form_, "Text31"), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(plain(*form_, "Text31")->toPlainText(), QStringLiteral("一\n二"));
        QCOMPARE(spy_->count(), 4);
    }

    // Loading fills every box, list selections included, without a report of an edit.
    void loadingReportsNoEdit()
    {
        const auto document = testdoc::LoadXmlDocument(folder_->file(QStringLiteral("report1.tpl")));
        xml::SetNodeText(rootOf(document), "//Report/BasicInfo/ProjectName", QStringLiteral("名称"));
        xml::SetNodeText(rootOf(document), "//Report/BasicInfo/SalvageItem/ProtectionContent", QStringLiteral("内容"));
        xml::SetNodeText(rootOf(document), "//Report/BasicInfo/Remark", QStringLiteral("备注"));
        xml::SetNodeText(rootOf(document), "//Report/BasicInfo/ProjectType", "60");
        xml::SetNodeText(rootOf(document), "//Report/FundDemand/Demand/Total", "5");
        showDocument(*form_, document);
        QCOMPARE(plain(*form_, "Text30")->toPlainText(), QStringLiteral("内容"));
        QCOMPARE(spy_->count(), 0);

        // Saving fills empty boxes with their defaults and edits nothing either.
        box(*form_, "Text1")->setText(QStringLiteral("A01"));
        box(*form_, "Text9")->clear();
        controller_->saveReport();
        QCOMPARE(ui_->texts, QStringList());
        QCOMPARE(box(*form_, "Text9")->text(), QStringLiteral("0"));
        form_->resetBudgetFrames();
        ReportValues longText;
        longText.setValue(ReportForm::longTextField(3), QStringLiteral("由编辑器写入"));
        form_->setValues(longText);
        QCOMPARE(spy_->count(), 0);
    }

    void choosingListItems()
    {
        CodedList* types = form_->list(QStringLiteral("projectType"));
        types->setFocus();
        QTest::keyClick(types, Qt::Key_Down);
        QCOMPARE(types->currentIndex(), 1);
        QCOMPARE(spy_->count(), 1);
        // a choice in the other group applies the project type once the clerk agrees to
        // lose the typed amounts
        box(*form_, "Text17(0)")->setText(QStringLiteral("9"));
        types->setCurrentIndex(2);
        ui_->answerQuestion(true);
        QTest::keyClick(types, Qt::Key_Down); // 其他保护维修项目 -> 田野考古调查
        QCOMPARE(ui_->questions, QStringList{QStringLiteral("更改项目类别将把已填写的预算金额全部清零，是否继续？")});
        QCOMPARE(spy_->count(), 2);
        QCOMPARE(form_->projectGroup(), 2);
        QCOMPARE(box(*form_, "Text17(0)")->text(), QStringLiteral("0"));

        CodedList* natures = form_->list(QStringLiteral("projectNature"));
        natures->setFocus();
        QTest::keyClick(natures, Qt::Key_Down);
        QCOMPARE(natures->currentIndex(), 1);
        QCOMPARE(spy_->count(), 3);
        QCOMPARE(form_->projectGroup(), 2); // a nature changes nothing else
    }

private:
    ScriptedUi* ui_ = nullptr;
    TempProgramFolder* folder_ = nullptr;
    ReportForm* form_ = nullptr;
    ReportController* controller_ = nullptr;
    QSignalSpy* spy_ = nullptr;
};

QTEST_MAIN(TestUserEdits)
#include "test_useredits.moc"
