// The unit information dialog as a clerk meets it: opening, leaving and saving.
#include "ScriptedUi.h"
#include "TempProgramFolder.h"
#include "ui/LongTextEditor.h"
#include "core/AtomicFileWriter.h"
#include "ui/CodedList.h"
#include "TestDocuments.h"
#include "store/Settings.h"
#include "core/UnitInfoFields.h"
#include "unitinfo/UnitInfoDialog.h"

#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSet>
#include <QTabWidget>
#include <QSignalSpy>
#include <QTest>

using namespace testdoc;
using namespace xml;

namespace {

const QString kMustConfigure = QStringLiteral("您必须配置单位信息");
const QString kRequired = QStringLiteral("请输入单位编号，单位名称，填报人");
const QString kFileError = QStringLiteral(",配置文件错误，使用模板重新创建");
const QString kTemplateOpenError = QStringLiteral("打开模板文件错误！请重新安装程序");

QLineEdit* box(QDialog* d, const char* name)
{
    return static_cast<UnitInfoDialog*>(d)->textBox(QString::fromUtf8(name));
}

void fillRequired(QDialog* d)
{
    box(d, "Text2")->setText(QStringLiteral(" 郑州市博物馆 "));
    box(d, "Text27")->setText(QStringLiteral("李四"));
}

void save(QDialog* d)
{
    static_cast<UnitInfoDialog*>(d)->okButton()->click();
}

} // namespace

class TestCorpInfoDialog : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        AtomicFileWriter::injectFailureAfter(-1);
        folder = std::make_unique<TempProgramFolder>();
        folder->settings.unitCode = QStringLiteral("410101");
    }
    void cleanup()
    {
        AtomicFileWriter::injectFailureAfter(-1);
        ui.finish();
        folder.reset();
    }

    void controlsCaptionsAndFrames()
    {
        UnitInfoDialog d(folder->settings);
        QCOMPARE(d.windowTitle(), QStringLiteral("单位信息"));
        QCOMPARE(d.tabs()->objectName(), QStringLiteral("SSTab1"));
        const QStringList tabs{"单位基本情况", "单位藏品及重要出土文物保存情况", "单位文物安全情况",
                               "单位文物保护设施建设情况"};
        QCOMPARE(d.tabs()->count(), 4);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(d.tabs()->tabText(i), tabs[i]);
        for (const UnitInfoField& f : UnitInfoFields::fields())
            QCOMPARE(d.findChildren<QWidget*>(QString::fromUtf8(f.objectName)).size(), 1);
        const QList<std::pair<const char*, const char*>> frames{
            {"Frame1(0)", "一级品"}, {"Frame1(1)", "二级品"}, {"Frame1(2)", "三级品"}, {"Frame1(3)", "重要出土文物"},
            {"Frame2", "单位面积"}, {"Frame6", "消防设施"}, {"Frame3(1)", "文物被盗情况"}, {"Frame4", "库房情况"},
            {"Frame5", "大遗址保护设施建设情况"}};
        for (const auto& [name, caption] : frames) {
            auto* frame = d.findChild<QGroupBox*>(QString::fromUtf8(name));
            QVERIFY2(frame, name);
            QCOMPARE(frame->title(), QString::fromUtf8(caption));
        }
        // The holding boxes of class 2 sit in its frame.
        QVERIFY(d.findChild<QGroupBox*>(QStringLiteral("Frame1(2)"))->findChild<QLineEdit*>(QStringLiteral("Text11(2)")));
        QCOMPARE(d.okButton()->objectName(), QStringLiteral("cmdOK"));
        QCOMPARE(d.okButton()->text(), QStringLiteral("保存"));
        QCOMPARE(d.cancelButton()->text(), QStringLiteral("取消"));
        QCOMPARE(d.descriptionButton()->text(), QStringLiteral("藏品存放条件、损毁情况描述"));
        QVERIFY(box(&d, "Text1")->isReadOnly());
        QVERIFY(!box(&d, "Text27")->isReadOnly());

        auto codes = [&](const char* name) {
            QList<int> result;
            QStringList texts;
            CodedList* list = d.codedList(QString::fromUtf8(name));
            for (int i = 0; i < list->count(); ++i) {
                result << list->codeAt(i);
                texts << list->itemText(i);
            }
            return std::make_pair(result, texts);
        };
        QCOMPARE(codes("Combo1").first, (QList<int>{10, 20, 30, 40, 50}));
        QCOMPARE(codes("Combo2").first, (QList<int>{11, 12, 13, 14, 15, 20, 21, 22, 23, 90}));
        QCOMPARE(codes("Combo2").second.at(3), QStringLiteral("地、市级文物保护单位"));
        QCOMPARE(codes("Combo5").second, (QStringList{"一级风险单位", "二级风险单位", "其他"}));
        for (int i = 0; i <= 6; ++i) {
            const QByteArray name = "Combo3(" + QByteArray::number(i) + ")";
            QCOMPARE(codes(name.constData()).first, (QList<int>{3, 2, 1, 0}));
            QCOMPARE(codes(name.constData()).second, (QStringList{"完善", "较完善", "不完善", "无"}));
        }
    }

    void keyboardOrder()
    {
        UnitInfoDialog d(folder->settings);
        QStringList expected{"Text1", "Text27", "Text2", "Text3", "Text4", "Text5", "Text19", "Text6", "Text7",
                             "Text8", "Combo1", "Combo2", "Combo5", "Text28", "Text29"};
        for (int i = 0; i < 4; ++i)
            for (const char* n : {"Text26", "Text9", "Text10", "Text11", "Text12"})
                expected << QStringLiteral("%1(%2)").arg(QLatin1String(n)).arg(i);
        expected << QStringList{"Command1", "Text13", "Text14", "Combo3(4)", "Combo3(5)", "Combo3(6)", "Combo3(2)",
                                "Combo3(3)", "Text17(1)", "Text18(1)", "Combo3(0)", "Combo3(1)", "Text21", "Text22",
                                "Text23", "Text24", "cmdOK", "cmdCancel"};
        const QSet<QString> wanted(expected.begin(), expected.end());
        QStringList chain;
        QWidget* w = box(&d, "Text1");
        do {
            if (wanted.contains(w->objectName()) && !chain.contains(w->objectName()))
                chain << w->objectName();
            w = w->nextInFocusChain();
        } while (w != box(&d, "Text1"));
        QCOMPARE(chain, expected);
    }

    void everyFieldHasItsOwnAccessibleName()
    {
        UnitInfoDialog d(folder->settings);
        QSet<QString> seen;
        for (QWidget* w : d.fieldWidgets()) {
            QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(w->objectName()));
            QVERIFY2(!seen.contains(w->accessibleName()), qPrintable(w->accessibleName()));
            seen.insert(w->accessibleName());
        }
        QCOMPARE(box(&d, "Text10(1)")->accessibleName(), QStringLiteral("二级品 完好"));
        QCOMPARE(box(&d, "Text2")->accessibleName(), QStringLiteral("单位全称"));
        QCOMPARE(d.codedList(QStringLiteral("Combo3(1)"))->accessibleName(), QStringLiteral("库房情况 文物保存设备"));
    }

    void missingFileInEachMode_data()
    {
        QTest::addColumn<bool>("allowCancel");
        QTest::addColumn<bool>("templatePresent");
        QTest::newRow("optional") << true << true;
        QTest::newRow("forced") << false << true;
        QTest::newRow("optional, no template") << true << false;
        QTest::newRow("forced, no template") << false << false;
    }
    void missingFileInEachMode()
    {
        QFETCH(bool, allowCancel);
        QFETCH(bool, templatePresent);
        if (!templatePresent)
            QVERIFY(QFile::remove(folder->file(QStringLiteral("corpinfo.tpl"))));
        const QString file = folder->file(QStringLiteral("410101.dw"));
        QStringList expected;
        if (allowCancel)
            expected << QStringLiteral("无法打开指定文件") + file + kFileError;
        if (!templatePresent)
            expected << kTemplateOpenError + QStringLiteral("无法打开指定文件") + folder->file(QStringLiteral("corpinfo.tpl"));

        UnitInfoDialog d(folder->settings);
        d.allowCancel = allowCancel;
        ui.answerModal([&](QDialog* dialog) {
            QCOMPARE(ui.texts, expected);
            QCOMPARE(box(dialog, "Text1")->text(), QStringLiteral("410101"));
            QCOMPARE(box(dialog, "Text9(0)")->text(), QStringLiteral("0"));
            QCOMPARE(d.cancelButton()->isEnabled(), allowCancel);
            if (templatePresent) {
                // The template with the unit code filled in.
                QCOMPARE(GetNodeText(documentElement(d.document), QStringLiteral("//CorpInfo/Basic/CorpID")),
                         QStringLiteral("410101"));
                QCOMPARE(d.codedList(QStringLiteral("Combo3(4)"))->currentText(), QStringLiteral("完善"));
            }
            dialog->hide();
        });
        ui::current().runModal(&d);
        QCOMPARE(d.unitInfoFile(), file);
        QVERIFY(!QFile::exists(file));
    }

    void noUnitCodeLoadsTheTemplate()
    {
        folder->settings.unitCode.clear();
        UnitInfoDialog d(folder->settings);
        ui.answerModal([&](QDialog* dialog) {
            QCOMPARE(ui.texts, QStringList());
            QCOMPARE(box(dialog, "Text1")->text(), QString());
            dialog->hide();
        });
        ui::current().runModal(&d);
        QCOMPARE(d.unitInfoFile(), folder->file(QStringLiteral("corpinfo.tpl")));

        QVERIFY(QFile::remove(folder->file(QStringLiteral("corpinfo.tpl"))));
        UnitInfoDialog again(folder->settings);
        ui.answerModal([](QDialog* dialog) { dialog->hide(); });
        ui::current().runModal(&again);
        QCOMPARE(ui.texts, QStringList{kTemplateOpenError + QStringLiteral("无法打开指定文件")
                                       + folder->file(QStringLiteral("corpinfo.tpl"))});
    }

    void forcedModeCannotBeLeftUntilSaved()
    {
        UnitInfoDialog d(folder->settings);
        d.allowCancel = false;
        ui.answerModal([&](QDialog* dialog) {
            QVERIFY(!d.cancelButton()->isEnabled());
            dialog->close();
            QVERIFY(dialog->isVisible());
            QTest::keyClick(dialog, Qt::Key_Escape);
            QVERIFY(dialog->isVisible());
            dialog->reject();
            QVERIFY(dialog->isVisible());
            QCOMPARE(ui.texts, (QStringList{kMustConfigure, kMustConfigure}));
            fillRequired(dialog);
            save(dialog);
        });
        ui::current().runModal(&d);
        QVERIFY(!d.isVisible());
        QVERIFY(d.allowCancel);
        QVERIFY(QFile::exists(folder->file(QStringLiteral("410101.dw"))));
        QVERIFY(QFile::exists(folder->file(QStringLiteral("410101.htm"))));
        QCOMPARE(folder->settings.unitName, QStringLiteral("郑州市博物馆"));
        QCOMPARE(folder->settings.reportUser, QStringLiteral("李四"));
        QCOMPARE(folder->settings.unitCode, QStringLiteral("410101"));
    }

    void requiredFieldsRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("filler");
        QTest::newRow("filler of blanks") << "郑州市博物馆" << "   ";
        QTest::newRow("no name") << "" << "李四";
    }
    void requiredFieldsRefused()
    {
        QFETCH(QString, name);
        QFETCH(QString, filler);
        folder->writeCompleteSettings();
        const QByteArray before = folder->readFile(QStringLiteral("410101.dw"));
        UnitInfoDialog d(folder->settings);
        d.allowCancel = false;
        ui.answerModal([&](QDialog* dialog) {
            box(dialog, "Text2")->setText(name);
            box(dialog, "Text27")->setText(filler);
            save(dialog);
            QVERIFY(dialog->isVisible());
            QCOMPARE(ui.texts, QStringList{kRequired});
            fillRequired(dialog);
            save(dialog);
        });
        ui::current().runModal(&d);
        QCOMPARE(ui.texts, QStringList{kRequired});
        QVERIFY(folder->readFile(QStringLiteral("410101.dw")) != before);
    }

    void failedCheckKeepsTheDialogOpen()
    {
        UnitInfoDialog d(folder->settings);
        d.allowCancel = false;
        ui.answerModal([&](QDialog* dialog) {
            ui.texts.clear();
            fillRequired(dialog);
            d.tabs()->setCurrentIndex(1);
            box(dialog, "Text9(2)")->setText(QStringLiteral("5"));
            save(dialog);
            QVERIFY(dialog->isVisible());
            QCOMPARE(d.tabs()->currentIndex(), 1);
            QCOMPARE(ui.texts, QStringList{QStringLiteral("三级品总数应等于完好数量+加一般受损数量+严重受损数量")});
            QVERIFY(!QFile::exists(folder->file(QStringLiteral("410101.dw"))));
            // Nothing of a save that wrote no file reaches the values the reports use.
            QCOMPARE(folder->settings.unitName, QString());
            QCOMPARE(folder->settings.reportUser, QString());
            box(dialog, "Text10(2)")->setText(QStringLiteral("5"));
            box(dialog, "Text29")->setText(QStringLiteral("5"));
            save(dialog);
        });
        ui::current().runModal(&d);
        QVERIFY(!d.isVisible());
        XmlDocumentPtr saved = LoadXmlDocument(folder->file(QStringLiteral("410101.dw")));
        QCOMPARE(GetNodeText(documentElement(saved), QStringLiteral("//CorpInfo/Reserve/ItemDetail/ThirdClassItem/TotalNum")),
                 QStringLiteral("5"));
    }

    void cancelWritesNothing()
    {
        folder->writeCompleteSettings();
        const QByteArray before = folder->readFile(QStringLiteral("410101.dw"));
        UnitInfoDialog d(folder->settings);
        QSignalSpy rejected(&d, &QDialog::rejected);
        ui.answerModal([&](QDialog* dialog) {
            QCOMPARE(box(dialog, "Text2")->text(), QStringLiteral("测试博物馆"));
            box(dialog, "Text2")->setText(QStringLiteral("改过的名字"));
            d.cancelButton()->click();
        });
        ui::current().runModal(&d);
        QVERIFY(!d.isVisible());
        QCOMPARE(rejected.count(), 1);
        QCOMPARE(folder->readFile(QStringLiteral("410101.dw")), before);
        QVERIFY(!QFile::exists(folder->file(QStringLiteral("410101.htm"))));
        QCOMPARE(folder->settings.unitName, QString());
        QCOMPARE(ui.texts, QStringList());

        UnitInfoDialog next(folder->settings);
        ui.answerModal([&](QDialog* dialog) {
            QCOMPARE(box(dialog, "Text2")->text(), QStringLiteral("测试博物馆"));
            dialog->close();
        });
        ui::current().runModal(&next);
        QVERIFY(!next.isVisible());
    }

    void saveWritesFileAndPageIntoTheLocalFolder()
    {
        QVERIFY(QDir(folder->path()).mkdir(QStringLiteral("本地")));
        folder->settings.localFolder = folder->file(QStringLiteral("本地")) + folderSeparator();
        const QString page = folder->settings.localFolder + QStringLiteral("410101.htm");
        {
            QFile old(page);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write(QByteArray(200000, 'X'));
        }
        UnitInfoDialog d(folder->settings);
        QSignalSpy accepted(&d, &QDialog::accepted);
        ui.answerModal([&](QDialog* dialog) {
            ui.texts.clear();
            fillRequired(dialog);
            save(dialog);
        });
        ui::current().runModal(&d);
        QCOMPARE(ui.texts, QStringList());
        QCOMPARE(accepted.count(), 1);
        XmlDocumentPtr saved = LoadXmlDocument(folder->settings.localFolder + QStringLiteral("410101.dw"));
        QVERIFY(GetLastErrorText().isEmpty());
        const XmlNode root = documentElement(saved);
        QCOMPARE(GetNodeText(root, QStringLiteral("//CorpInfo/Basic/Name")), QStringLiteral("郑州市博物馆"));
        QCOMPARE(GetNodeText(root, QStringLiteral("//CorpInfo/ReportInfo/ReportUser")), QStringLiteral("李四"));
        QCOMPARE(GetNodeText(root, QStringLiteral("//CorpInfo/Basic/CorpID")), QStringLiteral("410101"));
        QFile written(page);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QByteArray html = written.readAll();
        QVERIFY(html.startsWith("<!DOCTYPE html>"));
        QVERIFY(!html.contains("XXXX"));
        QVERIFY(!QFile::exists(folder->file(QStringLiteral("410101.dw"))));
    }

    void stylesheetProblems_data()
    {
        QTest::addColumn<QByteArray>("stylesheet"); // empty: no stylesheet at all
        QTest::addColumn<QStringList>("messages");
        const QString noConversion = QStringLiteral("未能进行成功的数据转换");
        const QByteArray head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
                                "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">";
        QTest::newRow("missing") << QByteArray() << QStringList{QStringLiteral("输出模板文件错误，请重新安装"), noConversion};
        QTest::newRow("not well-formed") << QByteArray("<xsl:stylesheet") << QStringList{QStringLiteral("输出模板文件错误，请重新安装"), noConversion};
        QTest::newRow("does not compile")
            << head + "<xsl:template match=\"/\"><xsl:bogus/></xsl:template></xsl:stylesheet>" << QStringList{noConversion};
        QTest::newRow("stops while running")
            << head + "<xsl:template match=\"/\"><p/><xsl:message terminate=\"yes\">x</xsl:message></xsl:template></xsl:stylesheet>"
            << QStringList{noConversion};
        QTest::newRow("empty result") << head + "<xsl:template match=\"/\"/></xsl:stylesheet>" << QStringList{noConversion};
    }
    void stylesheetProblems()
    {
        QFETCH(QByteArray, stylesheet);
        QFETCH(QStringList, messages);
        QVERIFY(QFile::remove(folder->file(QStringLiteral("corpinfo.tps"))));
        if (!stylesheet.isEmpty())
            folder->writeFile(QStringLiteral("corpinfo.tps"), stylesheet);
        folder->writeFile(QStringLiteral("410101.htm"), "older page");
        UnitInfoDialog d(folder->settings);
        d.allowCancel = false;
        ui.answerModal([&](QDialog* dialog) {
            ui.texts.clear();
            fillRequired(dialog);
            save(dialog);
        });
        ui::current().runModal(&d);
        QCOMPARE(ui.texts, messages);
        QVERIFY(!d.isVisible());
        QVERIFY(d.allowCancel);
        XmlDocumentPtr saved = LoadXmlDocument(folder->file(QStringLiteral("410101.dw")));
        QCOMPARE(GetNodeText(documentElement(saved), QStringLiteral("//CorpInfo/Basic/Name")), QStringLiteral("郑州市博物馆"));
        QCOMPARE(folder->readFile(QStringLiteral("410101.htm")), QByteArray("older page"));
    }

    void failedFileWriteIsReportedAndKeepsTheOldFile()
    {
        folder->writeCompleteSettings();
        const QByteArray before = folder->readFile(QStringLiteral("410101.dw"));
        folder->settings.unitName = QStringLiteral("旧单位");
        folder->settings.reportUser = QStringLiteral("旧填报人");
        UnitInfoDialog d(folder->settings);
        d.allowCancel = false;
        ui.answerModal([&](QDialog* dialog) {
            box(dialog, "Text2")->setText(QStringLiteral("新单位"));
            box(dialog, "Text27")->setText(QStringLiteral("王五"));
            AtomicFileWriter::injectFailureAfter(10);
            save(dialog);
            AtomicFileWriter::injectFailureAfter(-1);
            QVERIFY(dialog->isVisible());
            // The next report must not be stamped with a name that was never stored.
            QCOMPARE(folder->settings.unitName, QStringLiteral("旧单位"));
            QCOMPARE(folder->settings.reportUser, QStringLiteral("旧填报人"));
            QCOMPARE(folder->settings.unitCode, QStringLiteral("410101"));
            QCOMPARE(ui.texts.size(), 1);
            QVERIFY2(ui.texts[0].startsWith(QStringLiteral("无法保存指定文件") + folder->file(QStringLiteral("410101.dw"))),
                     qPrintable(ui.texts[0]));
            QCOMPARE(folder->readFile(QStringLiteral("410101.dw")), before);
            QVERIFY(!QFile::exists(folder->file(QStringLiteral("410101.htm"))));
            save(dialog);
        });
        ui::current().runModal(&d);
        QVERIFY(!d.isVisible());
        QVERIFY(folder->readFile(QStringLiteral("410101.dw")).contains("王五"));
        QCOMPARE(folder->settings.unitName, QStringLiteral("新单位"));
        QCOMPARE(folder->settings.reportUser, QStringLiteral("王五"));
    }

    void pageThatCannotBeWrittenIsReported()
    {
        QVERIFY(QDir(folder->path()).mkdir(QStringLiteral("410101.htm")));
        UnitInfoDialog d(folder->settings);
        ui.answerModal([&](QDialog* dialog) {
            ui.texts.clear();
            fillRequired(dialog);
            save(dialog);
        });
        ui::current().runModal(&d);
        QVERIFY(!d.isVisible());
        QVERIFY(QFile::exists(folder->file(QStringLiteral("410101.dw"))));
        QCOMPARE(ui.texts.size(), 1);
        QVERIFY(ui.texts[0].startsWith(QStringLiteral("无法保存指定文件") + folder->file(QStringLiteral("410101.htm"))));
    }

    void templateLostBeforeSave()
    {
        folder->writeCompleteSettings();
        const QByteArray before = folder->readFile(QStringLiteral("410101.dw"));
        UnitInfoDialog d(folder->settings);
        ui.answerModal([&](QDialog* dialog) {
            QVERIFY(QFile::remove(folder->file(QStringLiteral("corpinfo.tpl"))));
            save(dialog);
            QVERIFY(dialog->isVisible());
            QCOMPARE(ui.texts, QStringList{QStringLiteral("模板文件错误，请重新安装")});
            dialog->hide();
        });
        ui::current().runModal(&d);
        QCOMPARE(folder->readFile(QStringLiteral("410101.dw")), before);
    }

    void damageDescriptionThroughTheEditor()
    {
        UnitInfoDialog d(folder->settings);
        ui.answerModal([&](QDialog* dialog) {
            d.descriptionBox()->setPlainText(QStringLiteral("旧描述"));
            d.descriptionButton()->click(); // OK with a new text
            QCOMPARE(d.descriptionBox()->toPlainText(), QStringLiteral("库房潮湿\n青铜器有锈"));
            d.descriptionButton()->click(); // edited, then cancelled
            QCOMPARE(d.descriptionBox()->toPlainText(), QStringLiteral("库房潮湿\n青铜器有锈"));
            dialog->hide();
        });
        ui.answerModal([](QDialog* editor) {
            auto* e = qobject_cast<LongTextEditor*>(editor);
            QCOMPARE(e->windowTitle(), QStringLiteral("输入藏品存放条件、损毁情况描述"));
            QCOMPARE(e->textBox()->toPlainText(), QStringLiteral("旧描述"));
            e->textBox()->setPlainText(QStringLiteral("库房潮湿\n青铜器有锈"));
            QSignalSpy accepted(e, &QDialog::accepted);
            e->okButton()->click();
            QCOMPARE(accepted.count(), 1);
        });
        ui.answerModal([](QDialog* editor) {
            auto* e = qobject_cast<LongTextEditor*>(editor);
            QCOMPARE(e->windowTitle(), QStringLiteral("输入藏品存放条件、损毁情况描述"));
            e->textBox()->setPlainText(QStringLiteral("不要"));
            QSignalSpy rejected(e, &QDialog::rejected);
            e->cancelButton()->click();
            QCOMPARE(rejected.count(), 1);
        });
        ui::current().runModal(&d);
        QCOMPARE(ui.modalTitles.size(), 3);
    }

private:
    ScriptedUi ui;
    std::unique_ptr<TempProgramFolder> folder;
};

QTEST_MAIN(TestCorpInfoDialog)
#include "test_corpinfo_dialog.moc"
