// What a clerk typed or opened comes back as it was: long values are not cut, a field
// nobody touched is saved exactly as it was loaded, an edited one keeps every character,
// and a report too large to open again is refused before anything is written.
#include "ReportFormTesting.h"
#include "ScriptedUi.h"
#include "TempProgramFolder.h"
#include "core/AtomicFileWriter.h"
#include "core/TextLengthLimit.h"
#include "core/XmlDocumentAccess.h"
#include "report/MainWindow.h"
#include "report/ReportController.h"
#include "report/ReportForm.h"
#include "ui/LongTextEditor.h"
#include "unitinfo/UnitInfoDialog.h"

#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace testing;

namespace {

// Characters that QPlainTextEdit::toPlainText() would rewrite.
const QString kUntouchable = QStringLiteral("甲") + QChar(0x00A0) + QStringLiteral("乙") + QChar(0x2028)
                             + QStringLiteral("丙") + QChar(0x2029) + QStringLiteral("丁") + QChar(0x00A0);

QString storedText(const QString& file, const QString& xpath)
{
    QString error;
    const xml::XmlDocumentPtr document = xml::ReadXmlDocument(file, error);
    return xml::GetNodeText(xml::documentElement(document), xpath);
}

// Types as a user does, one character at a time.
void typeInto(QWidget* box, const QString& text)
{
    box->setFocus();
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

} // namespace

class TestDataRoundTrips : public QObject {
    Q_OBJECT

    std::unique_ptr<ScriptedUi> ui;
    std::unique_ptr<TempProgramFolder> dir;
    std::unique_ptr<MainWindow> w;

    QString standard() const { return dir->file(QStringLiteral("qzrt_410101_A01.xm")); }

    // A report file written with these values at these paths, opened in the window.
    void openReportWith(const QList<QPair<QString, QString>>& values)
    {
        QString error;
        const xml::XmlDocumentPtr document = xml::ReadXmlDocument(dir->file(QStringLiteral("report1.tpl")), error);
        xml::SetNodeText(xml::documentElement(document), QStringLiteral("//Report/BasicInfo/ProjectID"),
                         QStringLiteral("A01"));
        xml::SetNodeText(xml::documentElement(document), QStringLiteral("//Report/BasicInfo/ProjectName"),
                         QStringLiteral("城墙"));
        for (const auto& [path, text] : values)
            xml::SetNodeText(xml::documentElement(document), path, text);
        QVERIFY(xml::WriteXmlDocument(document, standard(), error));
        w->controller()->openReportFile(standard());
        QCOMPARE(ui->texts, QStringList());
    }

private slots:
    void init()
    {
        ui = std::make_unique<ScriptedUi>();
        dir = std::make_unique<TempProgramFolder>();
        dir->writeCompleteSettings();
        w = std::make_unique<MainWindow>(dir->settings);
        w->start();
    }
    void cleanup()
    {
        AtomicFileWriter::injectFailureAfter(-1);
        ui->finish();
        w.reset();
        dir.reset();
        ui.reset();
    }

    // Qt's single-line box holds 32,767 characters unless told otherwise; a longer value
    // opened and saved again must come back whole, without the report becoming modified.
    void longValuesAreNotCut()
    {
        const QString name = QString(40000, QChar(0x57CE)) + QStringLiteral("尾");
        const QString area = QString(33000, QLatin1Char('9'));
        openReportWith({{QStringLiteral("//Report/BasicInfo/ProjectName"), name},
                        {QStringLiteral("//Report/BasicInfo/SalvageItem/RelicProtectionArea"), area}});
        QCOMPARE(w->form()->lineEdit("projectName")->text(), name);
        QCOMPARE(w->form()->lineEdit("relicProtectionScale")->text(), area);
        QVERIFY(!w->controller()->isModified());
        ui->answerQuestion(true); // overwrite
        w->controller()->saveReport();
        QCOMPARE(ui->texts, QStringList{QStringLiteral("文件已存在，是否覆盖？")});
        QCOMPARE(storedText(standard(), QStringLiteral("//Report/BasicInfo/ProjectName")), name);
        QCOMPARE(storedText(standard(), QStringLiteral("//Report/BasicInfo/SalvageItem/RelicProtectionArea")), area);
        // Typing stays within what the loader accepts.
        QCOMPARE(w->form()->lineEdit("projectName")->maxLength(), int(TextLengthLimit::kMaxBytes));
    }

    void longUnitValuesAreNotCut()
    {
        const QString name = QString(40000, QChar(0x9986));
        dir->writeCompleteSettings(QStringLiteral("410101"), name);
        UnitInfoDialog dialog(dir->settings);
        ui->answerModal([&](QDialog* d) {
            QCOMPARE(static_cast<UnitInfoDialog*>(d)->textBox(QStringLiteral("Text2"))->text(), name);
            static_cast<UnitInfoDialog*>(d)->okButton()->click();
        });
        dialog.allowCancel = true;
        ui::current().runModal(&dialog);
        QCOMPARE(storedText(dir->file(QStringLiteral("410101.dw")), QStringLiteral("//CorpInfo/Basic/Name")), name);
        QCOMPARE(dir->settings.unitName, name);
    }

    // A field nobody touched is saved exactly as it was loaded: a no-break space and the
    // line and paragraph separators stay, also at the ends of a value.
    void untouchedTextsStayAsLoaded()
    {
        openReportWith({{QStringLiteral("//Report/BasicInfo/SalvageItem/ProtectionContent"), kUntouchable},
                        {QStringLiteral("//Report/BasicInfo/Remark"), kUntouchable}});
        QCOMPARE(w->form()->value("protectionFacilities"), kUntouchable);
        // The long-text editor confirmed without a change is no edit.
        ui->answerModal([](QDialog* d) { static_cast<LongTextEditor*>(d)->okButton()->click(); });
        w->editLongText(3);
        QVERIFY(!w->controller()->isModified());
        ui->answerQuestion(true); // overwrite
        w->controller()->saveReport();
        QCOMPARE(storedText(standard(), QStringLiteral("//Report/BasicInfo/SalvageItem/ProtectionContent")),
                 kUntouchable);
        QCOMPARE(storedText(standard(), QStringLiteral("//Report/BasicInfo/Remark")), kUntouchable);
    }

    // An edited box keeps every character typed or pasted; a line break typed is a line break.
    void editedTextsKeepEveryCharacter()
    {
        openReportWith({});
        QPlainTextEdit* box = plain(*w->form(), QStringLiteral("Text30"));
        typeInto(box, QStringLiteral("甲") + QChar(0x00A0) + QStringLiteral("乙") + QChar(0x2028) + QStringLiteral("丙"));
        QTest::keyClick(box, Qt::Key_Return);
        typeInto(box, QStringLiteral("丁"));
        QVERIFY(w->controller()->isModified());
        const QString typed = QStringLiteral("甲") + QChar(0x00A0) + QStringLiteral("乙") + QChar(0x2028)
                              + QStringLiteral("丙\n丁");
        QCOMPARE(w->form()->value("protectionFacilities"), typed);
        ui->answerQuestion(true);
        w->controller()->saveReport();
        QCOMPARE(storedText(standard(), QStringLiteral("//Report/BasicInfo/SalvageItem/ProtectionContent")), typed);
    }

    void untouchedUnitDescriptionStaysAsLoaded()
    {
        dir->writeCompleteSettings();
        QString error;
        const QString unitFile = dir->file(QStringLiteral("410101.dw"));
        const xml::XmlDocumentPtr unit = xml::ReadXmlDocument(dir->file(QStringLiteral("corpinfo.tpl")), error);
        const xml::XmlNode root = xml::documentElement(unit);
        xml::SetNodeText(root, QStringLiteral("//CorpInfo/Basic/Name"), QStringLiteral("测试博物馆"));
        xml::SetNodeText(root, QStringLiteral("//CorpInfo/ReportInfo/ReportUser"), QStringLiteral("张三"));
        xml::SetNodeText(root, QStringLiteral("//CorpInfo/Reserve/DamageDescription"), kUntouchable);
        QVERIFY(xml::WriteXmlDocument(unit, unitFile, error));
        UnitInfoDialog dialog(dir->settings);
        dialog.allowCancel = true;
        ui->answerModal([](QDialog* d) { static_cast<UnitInfoDialog*>(d)->okButton()->click(); });
        ui::current().runModal(&dialog);
        QCOMPARE(storedText(unitFile, QStringLiteral("//CorpInfo/Reserve/DamageDescription")), kUntouchable);
    }

    // Each text within its limit, together too large to open again: refused before
    // anything is written, naming the longest texts; the form keeps everything.
    void reportTooLargeToOpenAgainIsRefused()
    {
        const QString ampersands(7'000'000, QLatin1Char('&')); // 7 MB, 35 MB once written
        typeInto(w->form()->lineEdit("projectCode"), QStringLiteral("A01"));
        typeInto(w->form()->lineEdit("projectName"), QStringLiteral("城墙"));
        setLongText(*w->form(), 1, ampersands);
        setLongText(*w->form(), 2, ampersands);
        const QString refusal = QStringLiteral("报表内容过多，保存后的文件将超过 64 MiB，无法再次打开。请删减最长的内容："
                                               "“现存主要问题”（33.4 MB）、“\"十一五\"项目主要内容”（33.4 MB）");
        w->controller()->saveReport();
        QCOMPARE(ui->texts, QStringList{refusal});
        QVERIFY(!QFile::exists(standard()));
        ui->texts.clear();
        w->controller()->saveReportAs();
        QCOMPARE(ui->texts, QStringList{refusal});
        QVERIFY(ui->fileRequests.isEmpty());
        QCOMPARE(w->form()->value(ReportForm::longTextField(2)), ampersands);
        QVERIFY(w->controller()->isModified());
    }
};

QTEST_MAIN(TestDataRoundTrips)
#include "test_data_round_trips.moc"
