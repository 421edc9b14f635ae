// New, Open, Save, Save As, Print and closing, driven through the scripted seam.
#include "ReportFormTesting.h"
#include "ScriptedUi.h"
#include "core/ReportFileNames.h"
#include "TempProgramFolder.h"
#include "report/ReportForm.h"
#include "report/ReportController.h"
#include "report/MainWindow.h"
#include "core/AtomicFileWriter.h"
#include "ui/CodedList.h"
#include "TestDocuments.h"
#include "store/Settings.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <memory>

using namespace testdoc;
using namespace xml;
using namespace testing;

namespace {

// Types as a user does, so the form reports the edit (Chinese needs one event per character).
void typeInto(QLineEdit* box, const QString& text)
{
    box->setFocus();
    box->selectAll();
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// A stylesheet whose page is exactly the project name, in the given encoding.
QByteArray nameOnlyStylesheet(const char* encoding = "UTF-8", const QByteArray& padding = QByteArray())
{
    return QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
                      "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">"
                      "<xsl:output method=\"text\" encoding=\"")
           + encoding
           + "\"/><xsl:template match=\"/\"><xsl:value-of select=\"//Report/BasicInfo/ProjectName\"/>" + padding
           + "</xsl:template></xsl:stylesheet>";
}

const QString kCode = QStringLiteral("A01");

} // namespace

class TestReportLifecycle : public QObject {
    Q_OBJECT

    std::unique_ptr<ScriptedUi> ui;
    std::unique_ptr<TempProgramFolder> dir;
    std::unique_ptr<MainWindow> w;

    QString standard(const char* ext) const { return dir->file(QStringLiteral("qzrt_410101_A01.") + ext); }
    QLineEdit* codeBox() const { return w->form()->lineEdit(QStringLiteral("projectCode")); }
    QLineEdit* nameBox() const { return w->form()->lineEdit(QStringLiteral("projectName")); }
    void fill(const QString& code = kCode, const QString& name = QStringLiteral("城墙维修"))
    {
        typeInto(codeBox(), code);
        typeInto(nameBox(), name);
    }
    // A first save of a filled report (no question: the files do not exist yet).
    void fillAndSave()
    {
        fill();
        w->controller()->saveReport();
        QVERIFY(QFileInfo::exists(standard("xm")));
        ui->texts.clear();
    }

private slots:
    void init()
    {
        ui = std::make_unique<ScriptedUi>();
        dir = std::make_unique<TempProgramFolder>();
        dir->writeCompleteSettings();
        w = std::make_unique<MainWindow>(dir->settings);
        w->start();
        QVERIFY(ui->texts.isEmpty());
    }
    void cleanup()
    {
        AtomicFileWriter::injectFailureAfter(-1);
        ui->finish();
        w.reset();
        dir.reset();
        ui.reset();
    }

    void newSaveWritesStandardFilesInTheProgramFolder()
    {
        QCOMPARE(w->windowTitle(), QStringLiteral("Vantrel - 未命名"));
        QVERIFY(!w->controller()->isModified());
        fill(QStringLiteral("A01 "));
        QVERIFY(w->controller()->isModified());
        w->controller()->saveReport();

        QCOMPARE(ui->texts, QStringList());
        QCOMPARE(w->controller()->fileName(), standard("xm"));
        QCOMPARE(w->controller()->pageFileName(), standard("htm"));
        QCOMPARE(w->windowTitle(), QStringLiteral("Vantrel - ") + standard("xm"));
        QVERIFY(!w->controller()->isModified());
        QVERIFY(!w->action(QStringLiteral("M_FileSave"))->isEnabled());
        QVERIFY(!w->action(QStringLiteral("Toolbar1(3)"))->isEnabled());

        const XmlDocumentPtr saved = LoadXmlDocument(standard("xm"));
        QVERIFY(GetLastErrorText().isEmpty());
        const XmlNode root = documentElement(saved);
        QCOMPARE(GetNodeText(root, QStringLiteral("//Report/BasicInfo/ProjectID")), kCode);
        QCOMPARE(GetNodeText(root, QStringLiteral("//Report/BasicInfo/ProjectName")), QStringLiteral("城墙维修"));
        QCOMPARE(GetNodeText(root, QStringLiteral("//Report/ReportInfo/CorpName")), QStringLiteral("测试博物馆"));
        QVERIFY(QString::fromUtf8(readAll(standard("htm"))).contains(QStringLiteral("城墙维修")));
    }

    void saveGoesToTheLocalFolderWhenOneIsSet()
    {
        QTemporaryDir local;
        dir->settings.localFolder = QDir::toNativeSeparators(local.path()) + folderSeparator();
        fill();
        w->controller()->saveReport();
        QCOMPARE(w->controller()->fileName(), dir->settings.localFolder + QStringLiteral("qzrt_410101_A01.xm"));
        QVERIFY(QFileInfo::exists(dir->settings.localFolder + QStringLiteral("qzrt_410101_A01.htm")));
        QVERIFY(!QFileInfo::exists(standard("xm")));
    }

    void secondSaveAsksBeforeOverwriting()
    {
        fillAndSave();
        const QByteArray before = readAll(standard("xm"));
        const QString caption = w->windowTitle();
        typeInto(nameBox(), QStringLiteral("城墙维修二期"));

        ui->answerQuestion(false);
        w->controller()->saveReport();
        QCOMPARE(ui->texts, QStringList{QStringLiteral("文件已存在，是否覆盖？")});
        QCOMPARE(readAll(standard("xm")), before);
        QCOMPARE(w->windowTitle(), caption);
        QVERIFY(w->controller()->isModified());

        ui->answerQuestion(true);
        w->controller()->saveReport();
        QVERIFY(readAll(standard("xm")).contains("城墙维修二期"));
        QVERIFY(!w->controller()->isModified());
    }

    void refusedOverwriteKeepsTheCaptionOfAnOpenedReport()
    {
        fillAndSave();
        const QString other = dir->file(QStringLiteral("other.xm"));
        QVERIFY(QFile::copy(standard("xm"), other));
        ui->answerOpenFile(other);
        w->controller()->openReport();
        typeInto(nameBox(), QStringLiteral("改"));
        ui->answerQuestion(false);
        w->controller()->saveReport();
        QCOMPARE(w->windowTitle(), QStringLiteral("Vantrel - ") + other);
    }

    void saveChecksInOrder_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("unitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("no code") << QStringLiteral("  ") << QString() << QStringLiteral("410101")
                                 << QStringLiteral("请输入项目编号");
        QTest::newRow("no name") << kCode << QStringLiteral("  ") << QStringLiteral("410101")
                                 << QStringLiteral("请输入项目名称");
        QTest::newRow("no unit code") << kCode << QStringLiteral("名") << QString()
                                      << QStringLiteral("请在选项中设置单位编号");
    }
    void saveChecksInOrder()
    {
        QFETCH(QString, code);
        QFETCH(QString, name);
        QFETCH(QString, unitCode);
        QFETCH(QString, message);
        codeBox()->setText(code);
        nameBox()->setText(name);
        dir->settings.unitCode = unitCode;
        w->controller()->saveReport();
        QCOMPARE(ui->texts, QStringList{message});
        QVERIFY(w->controller()->fileName().isEmpty());
        QCOMPARE(QDir(dir->path()).entryList({QStringLiteral("*.xm")}), QStringList());
    }

    void saveAsChecksCodeAndNameUntrimmed()
    {
        nameBox()->setText(QStringLiteral("名"));
        w->controller()->saveReportAs();
        QCOMPARE(ui->texts, QStringList{QStringLiteral("请设置项目编号与名称")});
        QVERIFY(ui->fileRequests.isEmpty());
    }

    void unsafeProjectCodesAreRefused_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("command");
        const QStringList codes{QStringLiteral("../x"), QStringLiteral("a/b"), QStringLiteral("a\\b"),
                                QStringLiteral("C:x"), QStringLiteral("a*"), QStringLiteral("a?"),
                                QStringLiteral("\"a\""), QStringLiteral("<a>"), QStringLiteral("a|b"),
                                QStringLiteral("a\tb"), QStringLiteral(" .. ")};
        const char* commands[] = {"save", "save as", "export"};
        for (int c = 0; c < 3; ++c)
            for (const QString& code : codes)
                QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(QLatin1String(commands[c]), code))) << code << c;
    }
    void unsafeProjectCodesAreRefused()
    {
        QFETCH(QString, code);
        QFETCH(int, command);
        codeBox()->setText(code);
        nameBox()->setText(QStringLiteral("名"));
        const QStringList before = QDir(dir->path()).entryList(QDir::Files);
        if (command == 0)
            w->controller()->saveReport();
        else if (command == 1)
            w->controller()->saveReportAs();
        else
            w->controller()->exportPage();
        QCOMPARE(ui->texts, QStringList{QStringLiteral("项目编号中含有不能用于文件名的字符")});
        QVERIFY(ui->fileRequests.isEmpty());
        QVERIFY(w->controller()->fileName().isEmpty());
        QVERIFY(ReportFileNames::BuildReportFileName(dir->settings.unitCode, dir->settings.localFolderOrDefault(),
                                                     codeBox()->text(), false)
                    .isEmpty());
        QCOMPARE(QDir(dir->path()).entryList(QDir::Files), before);
    }

    void openShowsAnotherKindOfDocumentWithDefaults()
    {
        typeInto(codeBox(), kCode);
        const QString other = dir->file(QStringLiteral("fremd.xml"));
        dir->writeFile(QStringLiteral("fremd.xml"), "<?xml version=\"1.0\"?><Inventar><Stueck/></Inventar>");
        ui->answerQuestion(true);
        ui->answerOpenFile(other);
        w->controller()->openReport();

        QCOMPARE(ui->texts, QStringList{QStringLiteral("当前报表还未保存，确定打开其他报表吗？")});
        QCOMPARE(ui->fileRequests.size(), 1);
        const ui::FileDialogRequest& request = ui->fileRequests.first();
        QCOMPARE(request.title, QStringLiteral("打开报表文件"));
        QCOMPARE(request.filter, QStringLiteral("报告文件 (*.xm)|*.xm|所有文件(*.*)|*.*"));
        QCOMPARE(request.initialFolder, dir->path());
        QVERIFY(request.proposedName.isEmpty());

        QCOMPARE(codeBox()->text(), QString());
        QCOMPARE(w->form()->list(QStringLiteral("projectType"))->currentIndex(), 0);
        QCOMPARE(w->windowTitle(), QStringLiteral("Vantrel - ") + other);
        QCOMPARE(w->controller()->fileName(), other);
        QVERIFY(!w->controller()->isModified());
        QVERIFY(!w->action(QStringLiteral("M_FileSave"))->isEnabled());
    }

    void openOfABrokenFileKeepsTheForm_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("not well-formed") << QByteArray("<Report><BasicInfo></Report>");
        QTest::newRow("missing") << QByteArray();
    }
    void openOfABrokenFileKeepsTheForm()
    {
        QFETCH(QByteArray, content);
        const QString broken = dir->file(QStringLiteral("kaputt.xm"));
        if (!content.isEmpty())
            dir->writeFile(QStringLiteral("kaputt.xm"), content);
        typeInto(codeBox(), kCode);
        ui->answerQuestion(true);
        ui->answerOpenFile(broken);
        w->controller()->openReport();
        QCOMPARE(ui->texts, (QStringList{QStringLiteral("当前报表还未保存，确定打开其他报表吗？"),
                                         QStringLiteral("报表文件错误，请重新建立")}));
        QCOMPARE(codeBox()->text(), kCode);
        QVERIFY(w->controller()->isModified());
        QCOMPARE(w->windowTitle(), QStringLiteral("Vantrel - ") + broken);
    }

    void openCancelledChangesNothing()
    {
        ui->answerOpenFile(std::nullopt);
        w->controller()->openReport();
        QCOMPARE(w->windowTitle(), QStringLiteral("Vantrel - 未命名"));
        QVERIFY(w->controller()->fileName().isEmpty());
    }

    void questionsGuardUnsavedEdits_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("question");
        QTest::newRow("new") << 0 << QStringLiteral("当前报表还未保存，确定新建吗？");
        QTest::newRow("open") << 1 << QStringLiteral("当前报表还未保存，确定打开其他报表吗？");
        QTest::newRow("exit") << 2 << QStringLiteral("当前报表还未保存，确定退出吗？");
        QTest::newRow("close") << 3 << QStringLiteral("当前报表还未保存，确定退出吗？");
    }
    void questionsGuardUnsavedEdits()
    {
        QFETCH(int, command);
        QFETCH(QString, question);
        w->show();
        fill();
        const auto run = [&] {
            switch (command) {
            case 0: w->controller()->newReport(); break;
            case 1: w->controller()->openReport(); break;
            case 2: w->close(); break;
            default: w->close(); break;
            }
        };
        ui->answerQuestion(false);
        run();
        QCOMPARE(ui->texts, QStringList{question});
        QCOMPARE(codeBox()->text(), kCode);
        QVERIFY(w->controller()->isModified());
        QVERIFY(w->isVisible());
        QVERIFY(!w->hasEnded());

        // OK goes on without saving.
        ui->answerQuestion(true);
        if (command == 1)
            ui->answerOpenFile(std::nullopt);
        run();
        if (command == 0)
            QCOMPARE(codeBox()->text(), QString());
        if (command >= 2) {
            QVERIFY(!w->isVisible());
            QVERIFY(w->hasEnded());
        }
        QCOMPARE(QDir(dir->path()).entryList({QStringLiteral("*.xm")}), QStringList());
    }

    void cleanReportClosesWithoutQuestion()
    {
        w->show();
        w->close();
        QVERIFY(!w->isVisible());
        QVERIFY(ui->texts.isEmpty());
    }

    void endOfSessionClosesWithoutQuestion()
    {
        w->show();
        fill();
        w->sessionEnding();
        w->close();
        QVERIFY(!w->isVisible());
        QVERIFY(ui->texts.isEmpty());
    }

    void newAndOpenNeedSettingsAndUnitInformation_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("missing");
        for (int command = 0; command < 2; ++command)
            for (int missing = 0; missing < 3; ++missing)
                QTest::newRow(qPrintable(QStringLiteral("%1 without %2")
                                             .arg(command ? "open" : "new")
                                             .arg(QStringList{"unit name", "unit code", "filler"}[missing])))
                    << command << missing;
    }
    void newAndOpenNeedSettingsAndUnitInformation()
    {
        QFETCH(int, command);
        QFETCH(int, missing);
        (missing == 0 ? dir->settings.unitName : missing == 1 ? dir->settings.unitCode : dir->settings.reportUser).clear();
        codeBox()->setText(kCode);
        command == 0 ? w->controller()->newReport() : w->controller()->openReport();
        QCOMPARE(ui->texts, QStringList{QStringLiteral("请先设置正确选项参数与本单位信息")});
        QVERIFY(ui->fileRequests.isEmpty());
        QCOMPARE(codeBox()->text(), kCode);
    }

    void saveAsWritesTheChosenFileAndTheStandardPage()
    {
        fill();
        const QString chosen = dir->file(QStringLiteral("eigener Name.xm"));
        ui->answerSaveFile(chosen);
        ui->answerQuestion(true);
        w->controller()->saveReportAs();
        QCOMPARE(ui->texts, QStringList{QStringLiteral("文件") + chosen + QStringLiteral("不存在，是否创建？")});
        ui->texts.clear();

        QCOMPARE(ui->fileRequests.size(), 1);
        const ui::FileDialogRequest& request = ui->fileRequests.first();
        QCOMPARE(request.title, QStringLiteral("报表文件存储为"));
        QCOMPARE(request.filter, QStringLiteral("项目文件 (*.xm)|*.xm|所有文件(*.*)|*.*"));
        QCOMPARE(request.proposedName, standard("xm"));
        QCOMPARE(request.initialFolder, dir->path());
        QVERIFY(request.confirmOverwrite);

        QVERIFY(QFileInfo::exists(chosen));
        QVERIFY(!QFileInfo::exists(standard("xm")));
        QVERIFY(QFileInfo::exists(standard("htm")));
        QCOMPARE(w->windowTitle(), QStringLiteral("Vantrel - ") + chosen);
        QVERIFY(!w->controller()->isModified());
        QVERIFY(ui->texts.isEmpty());

        // Print looks beside the chosen file and does not find a page there.
        w->controller()->printPage();
        QCOMPARE(ui->texts, QStringList{QStringLiteral("未找到相应的HTML文件") + dir->file(QStringLiteral("eigener Name.htm"))});
        QVERIFY(ui->browserPaths.isEmpty());
    }

    // A name that does not exist yet is confirmed too; No is the dialog's Cancel.
    void createQuestionOfSaveAsAndExport()
    {
        fill();
        const QString report = dir->file(QStringLiteral("neu.xm"));
        const QString page = dir->file(QStringLiteral("neu.htm"));
        ui->answerSaveFile(report);
        ui->answerQuestion(false);
        w->controller()->saveReportAs();
        ui->answerSaveFile(page);
        ui->answerQuestion(false);
        w->controller()->exportPage();
        QCOMPARE(ui->questions, (QStringList{QStringLiteral("文件") + report + QStringLiteral("不存在，是否创建？"),
                                             QStringLiteral("文件") + page + QStringLiteral("不存在，是否创建？")}));
        QVERIFY(!QFileInfo::exists(report));
        QVERIFY(!QFileInfo::exists(page));
        QVERIFY(w->controller()->fileName().isEmpty());
        QVERIFY(w->controller()->isModified());
    }

    void saveAsCancelledChangesNothing()
    {
        fill();
        ui->answerSaveFile(std::nullopt);
        w->controller()->saveReportAs();
        QVERIFY(w->controller()->fileName().isEmpty());
        QVERIFY(w->controller()->isModified());
        QCOMPARE(w->windowTitle(), QStringLiteral("Vantrel - 未命名"));
    }

    // A long text over the loader's limit would make a file that never opens again: the
    // save is refused before any question, dialog or write. At the limit it still works.
    void overlongTextIsRefusedBeforeAnythingIsWritten()
    {
        fillAndSave();
        const QByteArray before = dir->readFile(QStringLiteral("qzrt_410101_A01.xm"));
        // 3,333,333 characters of three UTF-8 bytes and one of one: exactly the limit.
        const QString atLimit = QString(3333333, QChar(0x4FDD)) + QLatin1Char('x');
        setLongText(*w->form(), 3, atLimit + QLatin1Char('y'));
        const QString refusal = QStringLiteral("“备注”的内容超过10000000字节的上限，无法保存，请删减后再保存");
        w->controller()->saveReport();
        w->controller()->saveReportAs();
        QCOMPARE(ui->texts, (QStringList{refusal, refusal}));
        QCOMPARE(dir->readFile(QStringLiteral("qzrt_410101_A01.xm")), before);

        ui->texts.clear();
        setLongText(*w->form(), 3, atLimit);
        ui->answerQuestion(true); // overwrite
        w->controller()->saveReport();
        QCOMPARE(ui->texts, QStringList{QStringLiteral("文件已存在，是否覆盖？")});
        const auto reloaded = LoadXmlDocument(standard("xm"));
        QCOMPARE(GetLastErrorText(), QString());
        QCOMPARE(GetNodeText(documentElement(reloaded), QStringLiteral("//Report/BasicInfo/Remark")), atLimit);
    }

    void printNeedsASavedReport()
    {
        w->controller()->printPage();
        QCOMPARE(ui->texts, QStringList{QStringLiteral("请先保存报表再打印")});
        QVERIFY(ui->browserPaths.isEmpty());
    }

    void printOpensExactlyTheSavedPage()
    {
        fillAndSave();
        w->controller()->printPage();
        QCOMPARE(ui->texts, QStringList{QStringLiteral("请在打开的浏览器中进行打印,如果不成功,请用浏览器打开")
                                        + standard("htm") + QStringLiteral("进行打印")});
        QCOMPARE(ui->browserPaths, QStringList{standard("htm")});
    }

    void printWithoutABrowserNamesThePage()
    {
        fillAndSave();
        ui->browserStarts = false;
        w->controller()->printPage();
        QCOMPARE(ui->texts.size(), 2);
        QCOMPARE(ui->texts.last(), QStringLiteral("无法打开浏览器") + standard("htm"));
    }

    void printOfAFileWithoutExtension()
    {
        QTemporaryDir dotted(QDir::tempPath() + QStringLiteral("/folder.with.dots-XXXXXX"));
        const QString plain = QDir::toNativeSeparators(dotted.path()) + folderSeparator() + QStringLiteral("report");
        dir->writeFile(QStringLiteral("unused"), "");
        QFile file(plain);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<Report/>");
        file.close();
        ui->answerOpenFile(plain);
        w->controller()->openReport();
        w->controller()->printPage();
        QCOMPARE(ui->texts, QStringList{QStringLiteral("未找到相应的HTML文件")});
    }

    void aShorterPageLeavesNoByteOfTheOlderOne()
    {
        dir->writeFile(QStringLiteral("report1.tps"), nameOnlyStylesheet());
        fill(kCode, QStringLiteral("一个很长很长很长的项目名称"));
        w->controller()->saveReport();
        QCOMPARE(readAll(standard("htm")), QStringLiteral("一个很长很长很长的项目名称").toUtf8());
        typeInto(nameBox(), QStringLiteral("短"));
        ui->answerQuestion(true);
        w->controller()->saveReport();
        QCOMPARE(readAll(standard("htm")), QStringLiteral("短").toUtf8());
    }

    void thePageIsInTheEncodingItDeclares()
    {
        dir->writeFile(QStringLiteral("report1.tps"), nameOnlyStylesheet("GBK"));
        fill(kCode, QStringLiteral("文物"));
        w->controller()->saveReport();
        QCOMPARE(readAll(standard("htm")), QByteArray("\xCE\xC4\xCE\xEF"));
    }

    void saveOfAnOpenedReportWritesTheStandardName()
    {
        fillAndSave();
        const QString other = dir->file(QStringLiteral("aelter.xm"));
        QVERIFY(QFile::rename(standard("xm"), other));
        QFile::remove(standard("htm"));
        const QByteArray opened = readAll(other);
        ui->answerOpenFile(other);
        w->controller()->openReport();
        QCOMPARE(codeBox()->text(), kCode);
        typeInto(nameBox(), QStringLiteral("新名称"));
        w->controller()->saveReport();
        QCOMPARE(readAll(other), opened);
        QVERIFY(readAll(standard("xm")).contains("新名称"));
        QVERIFY(QFileInfo::exists(standard("htm")));
        QCOMPARE(w->windowTitle(), QStringLiteral("Vantrel - ") + standard("xm"));
    }

    void templateFailuresAtSave_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("content");   // empty: the file is removed
        QTest::addColumn<bool>("reportSaved");
        QTest::addColumn<QStringList>("messages");
        const QString conversion = QStringLiteral("未能进行成功的数据转换");
        const QString output = QStringLiteral("输出模板文件错误，请重新安装");
        const QString blank = QStringLiteral("报表模板文件错误，请重新安装");
        const QByteArray head("<?xml version=\"1.0\"?><xsl:stylesheet version=\"1.0\" "
                              "xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">");
        QTest::newRow("template missing") << "report1.tpl" << QByteArray() << false << QStringList{blank};
        QTest::newRow("template broken") << "report1.tpl" << QByteArray("<Report>") << false << QStringList{blank};
        QTest::newRow("stylesheet missing") << "report1.tps" << QByteArray() << true << QStringList{output, conversion};
        QTest::newRow("stylesheet broken") << "report1.tps" << QByteArray("<xsl:stylesheet") << true
                                           << QStringList{output, conversion};
        QTest::newRow("stylesheet does not compile")
            << "report1.tps" << head + "<xsl:template match=\"/\"><xsl:value-of/></xsl:template><xsl:bogus/></xsl:stylesheet>"
            << true << QStringList{conversion};
        QTest::newRow("stylesheet terminates")
            << "report1.tps"
            << head + "<xsl:template match=\"/\"><xsl:message terminate=\"yes\">halt</xsl:message></xsl:template></xsl:stylesheet>"
            << true << QStringList{conversion};
        QTest::newRow("undefined variable")
            << "report1.tps" << head + "<xsl:template match=\"/\"><p><xsl:value-of select=\"$nowhere\"/></p></xsl:template></xsl:stylesheet>"
            << true << QStringList{conversion};
        QTest::newRow("empty page") << "report1.tps" << head + "<xsl:output method=\"text\"/><xsl:template match=\"/\"/></xsl:stylesheet>"
                                    << true << QStringList{conversion};
    }
    void templateFailuresAtSave()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, content);
        QFETCH(bool, reportSaved);
        QFETCH(QStringList, messages);
        if (content.isEmpty())
            QVERIFY(QFile::remove(dir->file(file)));
        else
            dir->writeFile(file, content);
        dir->writeFile(QStringLiteral("qzrt_410101_A01.htm"), "older page");
        fill();
        w->controller()->saveReport();

        QCOMPARE(ui->texts, messages);
        QCOMPARE(QFileInfo::exists(standard("xm")), reportSaved);
        QCOMPARE(readAll(standard("htm")), QByteArray("older page"));
        QCOMPARE(w->controller()->isModified(), !reportSaved);
        QCOMPARE(w->windowTitle(), reportSaved ? QStringLiteral("Vantrel - ") + standard("xm")
                                               : QStringLiteral("Vantrel - 未命名"));
    }

    void newWithABrokenTemplate()
    {
        fillAndSave();
        QVERIFY(!w->controller()->fileName().isEmpty());
        QVERIFY(QFile::remove(dir->file(QStringLiteral("report1.tpl"))));
        w->controller()->newReport();
        QCOMPARE(ui->texts, QStringList{QStringLiteral("模板文件错误，请重新安装程序")});
        QCOMPARE(codeBox()->text(), kCode);
        QVERIFY(w->controller()->fileName().isEmpty());
        QCOMPARE(w->windowTitle(), QStringLiteral("Vantrel - 未命名"));
    }

    void aReportFileThatCannotBeWrittenKeepsThePreviousOne()
    {
        fillAndSave();
        const QByteArray before = readAll(standard("xm"));
        const QString caption = w->windowTitle();
        typeInto(nameBox(), QStringLiteral("第二次"));
        AtomicFileWriter::injectFailureAfter(10);
        ui->answerQuestion(true);
        w->controller()->saveReport();
        QCOMPARE(ui->texts.size(), 2);
        QVERIFY2(ui->texts.at(1).startsWith(QStringLiteral("无法保存指定文件") + standard("xm")), qPrintable(ui->texts.at(1)));
        QCOMPARE(readAll(standard("xm")), before);
        QVERIFY(w->controller()->isModified());
        QVERIFY(w->action(QStringLiteral("M_FileSave"))->isEnabled());
        QCOMPARE(w->windowTitle(), caption);
    }

    void aPageThatCannotBeWrittenKeepsTheOlderPage()
    {
        // A page far longer than the report file, so only the page write fails.
        dir->writeFile(QStringLiteral("report1.tps"), nameOnlyStylesheet("UTF-8", QByteArray(40000, 'x')));
        dir->writeFile(QStringLiteral("qzrt_410101_A01.htm"), "older page");
        fill();
        AtomicFileWriter::injectFailureAfter(20000);
        w->controller()->saveReport();
        QCOMPARE(ui->texts.size(), 1);
        QVERIFY2(ui->texts.first().startsWith(QStringLiteral("无法保存指定文件") + standard("htm") + QStringLiteral("\\n")),
                 qPrintable(ui->texts.first()));
        QVERIFY(ui->texts.first().size() > (QStringLiteral("无法保存指定文件") + standard("htm") + QStringLiteral("\\n")).size());
        QCOMPARE(readAll(standard("htm")), QByteArray("older page"));
        QVERIFY(QFileInfo::exists(standard("xm")));
        QVERIFY(!w->controller()->isModified());
    }

    void aBudgetRuleStopsTheSave()
    {
        fill();
        QLineEdit* total = box(*w->form(), QStringLiteral("Text32"));
        QLineEdit* year = box(*w->form(), QStringLiteral("Text12(0)"));
        QVERIFY(total && year);
        total->setText(QStringLiteral("5"));
        year->setText(QStringLiteral("9"));
        w->controller()->saveReport();
        QCOMPARE(ui->texts, QStringList{QStringLiteral("项目资金需求情况中十一五期间资金需求合计应大于等于各年中央与地方投入之总和")});
        QVERIFY(!QFileInfo::exists(standard("xm")));
        QVERIFY(w->controller()->isModified());
    }

    void exportWritesTheChosenPage()
    {
        fill();
        const QString chosen = dir->file(QStringLiteral("export.html"));
        dir->writeFile(QStringLiteral("export.html"), QByteArray(5000, 'o'));
        ui->answerSaveFile(chosen);
        w->controller()->exportPage();
        QCOMPARE(ui->fileRequests.size(), 1);
        QCOMPARE(ui->fileRequests.first().title, QStringLiteral("报表文件导出为HTML文件"));
        QCOMPARE(ui->fileRequests.first().filter, QStringLiteral("HTML文件 (*.htm)|*.htm;*.html"));
        QCOMPARE(ui->fileRequests.first().proposedName, standard("htm"));
        QVERIFY(ui->texts.isEmpty());
        QCOMPARE(w->controller()->pageFileName(), chosen);
        const QByteArray page = readAll(chosen);
        QVERIFY(page.contains("城墙维修"));
        QVERIFY(!page.contains("ooooo"));
        QVERIFY(w->controller()->isModified());
        QVERIFY(!QFileInfo::exists(standard("xm")));
    }
};

QTEST_MAIN(TestReportLifecycle)
#include "test_report_lifecycle.moc"
