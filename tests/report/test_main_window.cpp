// The main window: start-up, menus, toolbar, modified state, shortcuts and long texts.
#include "ReportFormTesting.h"
#include "ScriptedUi.h"
#include "TempProgramFolder.h"
#include "report/ReportForm.h"
#include "report/ReportController.h"
#include "report/MainWindow.h"
#include "report/PageSizeMemory.h"
#include "ui/LongTextEditor.h"
#include "ui/CodedList.h"
#include "settings/SettingsDialog.h"
#include "TestDocuments.h"
#include "store/Settings.h"
#include "unitinfo/UnitInfoDialog.h"

#include <QAction>
#include <QGroupBox>
#include <QTemporaryDir>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <memory>

using namespace testdoc;
using namespace xml;
using namespace testing;

namespace {
void typeInto(QWidget* box, const QString& text)
{
    box->setFocus();
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
}
} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<ScriptedUi> ui;
    std::unique_ptr<TempProgramFolder> dir;
    QTemporaryDir cache_;
    std::unique_ptr<MainWindow> w;

    void start()
    {
        dir->writeCompleteSettings();
        w = std::make_unique<MainWindow>(dir->settings);
        w->start();
    }
    bool saveOffered() const
    {
        const bool menu = w->action(QStringLiteral("M_FileSave"))->isEnabled();
        const bool button = w->action(QStringLiteral("Toolbar1(3)"))->isEnabled();
        return menu && button && w->controller()->isModified();
    }
    bool saveWithdrawn() const
    {
        return !w->action(QStringLiteral("M_FileSave"))->isEnabled()
               && !w->action(QStringLiteral("Toolbar1(3)"))->isEnabled() && !w->controller()->isModified();
    }
    void activate()
    {
        w->show();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
    }

private slots:
    void initTestCase()
    {
        // The remembered page size goes to a cache of this test's own.
        QVERIFY(cache_.isValid());
        qputenv("XDG_CACHE_HOME", QFile::encodeName(cache_.path()));
    }

    void init()
    {
        ui = std::make_unique<ScriptedUi>();
        dir = std::make_unique<TempProgramFolder>();
    }
    void cleanup()
    {
        ui->finish();
        w.reset();
        dir.reset();
        ui.reset();
    }

    // ---- Start-up -------------------------------------------------------------------------

    // The largest page is measured once; later starts show the window at that size first
    // and build the budget pages after, and a size that no longer fits is put right.
    void rememberedPageSizeLetsTheWindowAppearFirst()
    {
        dir->writeCompleteSettings();
        QFile::remove(cache_.filePath(QStringLiteral("page-size")));
        const auto budgetPagesBuilt = [](MainWindow& window) {
            return window.findChild<QGroupBox*>(QStringLiteral("Frame4(7)")) != nullptr;
        };
        w = std::make_unique<MainWindow>(dir->settings);
        w->start();
        QVERIFY(budgetPagesBuilt(*w)); // nothing remembered: every page measured first
        const QSize fitted = w->size();
        w->finishStartup();
        QCOMPARE(w->size(), fitted);
        const QSize measured = PageSizeMemory::recall();
        QVERIFY(measured.isValid());

        MainWindow second(dir->settings);
        second.start();
        QVERIFY(!budgetPagesBuilt(second));
        QCOMPARE(second.size(), fitted);
        second.finishStartup();
        QVERIFY(budgetPagesBuilt(second));
        QCOMPARE(second.size(), fitted);

        PageSizeMemory::remember(QSize(120, 90));
        MainWindow third(dir->settings);
        third.start();
        QVERIFY(third.size() != fitted);
        third.finishStartup();
        QCOMPARE(third.size(), fitted);
        QCOMPARE(PageSizeMemory::recall(), measured);
        QCOMPARE(ui->texts, QStringList());
    }

    void startUpWithCompleteSettings()
    {
        dir->writeCompleteSettings();
        QString folder = dir->path();
        folder.chop(1);   // the separator is added by the start-up
        dir->settings = Settings(folder);
        w = std::make_unique<MainWindow>(dir->settings);
        w->start();
        QCOMPARE(dir->settings.programFolder, dir->path());
        QCOMPARE(ui->texts, QStringList());
        QCOMPARE(w->windowTitle(), QStringLiteral("Vantrel - 未命名"));
        QCOMPARE(w->form()->projectGroup(), 1);
        QVERIFY(saveWithdrawn());
        QVERIFY(w->controller()->fileName().isEmpty());
    }

    void firstStartAsksForSettingsThenUnitInformation()
    {
        QString codeShown = QStringLiteral("?");
        bool cancelOffered = true;
        ui->answerModal([&](QDialog* d) {
            auto* options = static_cast<SettingsDialog*>(d);
            codeShown = options->unitCodeBox()->text();
            options->unitCodeBox()->setText(QStringLiteral("410102"));
            options->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
        });
        ui->answerModal([&](QDialog* d) {
            auto* dialog = static_cast<UnitInfoDialog*>(d);
            cancelOffered = dialog->cancelButton()->isEnabled();
            dialog->textBox(QStringLiteral("Text2"))->setText(QStringLiteral("新的博物馆"));
            dialog->textBox(QStringLiteral("Text27"))->setText(QStringLiteral("李四"));
            dialog->okButton()->click();
        });
        w = std::make_unique<MainWindow>(dir->settings);
        w->start();
        QCOMPARE(ui->texts, (QStringList{QStringLiteral("请配置参数信息"),
                                         QStringLiteral("单位编号由省文物局统一编制，请按省文物局下发的编号认真填写"),
                                         QStringLiteral("请配置单位信息")}));
        QCOMPARE(ui->modalTitles, (QStringList{QStringLiteral("选项"), QStringLiteral("单位信息")}));
        QCOMPARE(codeShown, QString());
        QVERIFY(!cancelOffered);
        QVERIFY(dir->readFile(QStringLiteral("config.pz")).contains("410102"));
        QVERIFY(QFile::exists(dir->file(QStringLiteral("410102.dw"))));
        QCOMPARE(w->windowTitle(), QStringLiteral("Vantrel - 未命名"));
        QVERIFY(!w->hasEnded());
    }

    void firstStartWithSettingsForAnExistingUnit()
    {
        // The unit information of the code exists already: no unit information dialog.
        dir->writeCompleteSettings();
        QVERIFY(QFile::remove(dir->file(QStringLiteral("config.pz"))));
        ui->answerModal([](QDialog* d) {
            static_cast<SettingsDialog*>(d)->unitCodeBox()->setText(QStringLiteral("410101"));
            d->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
        });
        w = std::make_unique<MainWindow>(dir->settings);
        w->start();
        QCOMPARE(ui->modalTitles, QStringList{QStringLiteral("选项")});
        QCOMPARE(ui->texts.size(), 2);
        QCOMPARE(w->windowTitle(), QStringLiteral("Vantrel - 未命名"));
        QCOMPARE(dir->settings.unitName, QStringLiteral("测试博物馆"));
    }

    void refusingTheFirstSettingsEndsTheProgram()
    {
        ui->answerModal([](QDialog* d) { d->findChild<QPushButton*>(QStringLiteral("cmdCancel"))->click(); });
        ui->answerQuestion(true);
        w = std::make_unique<MainWindow>(dir->settings);
        w->start();
        QCOMPARE(ui->texts, (QStringList{QStringLiteral("请配置参数信息"), QStringLiteral("您尚未设置参数,退出程序吗?")}));
        QVERIFY(w->hasEnded());
        QVERIFY(!w->isVisible());
        QVERIFY(!QFile::exists(dir->file(QStringLiteral("config.pz"))));
        // No report was ever started.
        QCOMPARE(w->windowTitle(), QStringLiteral("Vantrel"));
    }

    // A report just shown, new or opened, starts on its first page with the cursor in 项目编号,
    // wherever the clerk was before.
    void aShownReportStartsAtItsFirstBox()
    {
        start();
        QLineEdit* code = w->form()->lineEdit(QStringLiteral("projectCode"));
        QCOMPARE(w->focusWidget(), code);
        // Still there once the window is up and the other pages are built.
        activate();
        w->finishStartup();
        QCOMPARE(QApplication::focusWidget(), code);
        typeInto(code, QStringLiteral("A1"));
        typeInto(w->form()->lineEdit(QStringLiteral("projectName")), QStringLiteral("名称"));
        w->controller()->saveReport();
        const QString saved = dir->file(QStringLiteral("qzrt_410101_A1.xm"));
        QVERIFY(QFile::exists(saved));

        w->form()->setCurrentIndex(2);
        w->form()->lineEdit(QStringLiteral("projectName"))->setFocus();
        w->controller()->openReportFile(saved);
        QCOMPARE(w->form()->currentIndex(), 0);
        QCOMPARE(w->focusWidget(), code);

        w->form()->setCurrentIndex(3);
        w->controller()->newReport();
        QCOMPARE(w->form()->currentIndex(), 0);
        QCOMPARE(w->focusWidget(), code);
    }

    void settingsFromMenuAndToolbar()
    {
        start();
        typeInto(w->form()->lineEdit(QStringLiteral("projectCode")), QStringLiteral("A1"));
        QFile::remove(dir->file(QStringLiteral("config.pz")));
        // Toolbar button 6, Cancel: nothing is saved.
        ui->answerModal([](QDialog* d) { d->findChild<QPushButton*>(QStringLiteral("cmdCancel"))->click(); });
        w->action(QStringLiteral("Toolbar1(6)"))->trigger();
        QVERIFY(!QFile::exists(dir->file(QStringLiteral("config.pz"))));
        // Menu, OK with the same code: saved and reloaded, no further dialog, report untouched.
        ui->answerModal([](QDialog* d) { d->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click(); });
        w->action(QStringLiteral("M_ToolOption"))->trigger();
        QCOMPARE(ui->modalTitles, (QStringList{QStringLiteral("选项"), QStringLiteral("选项")}));
        QVERIFY(dir->readFile(QStringLiteral("config.pz")).contains("410101"));
        QCOMPARE(w->form()->lineEdit(QStringLiteral("projectCode"))->text(), QStringLiteral("A1"));
        QVERIFY(w->controller()->isModified());
        QCOMPARE(w->windowTitle(), QStringLiteral("Vantrel - 未命名"));
    }

    void settingsWithAUnitCodeThatHasNoUnitInformation()
    {
        start();
        // The settings dialog demands the new unit's information itself; afterwards the
        // reload finds it and nothing more is asked.
        ui->answerModal([](QDialog* d) {
            static_cast<SettingsDialog*>(d)->unitCodeBox()->setText(QStringLiteral("410199"));
            d->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
        });
        ui->answerModal([](QDialog* d) {
            auto* dialog = static_cast<UnitInfoDialog*>(d);
            dialog->textBox(QStringLiteral("Text2"))->setText(QStringLiteral("另一单位"));
            dialog->textBox(QStringLiteral("Text27"))->setText(QStringLiteral("赵六"));
            dialog->okButton()->click();
        });
        w->showSettingsDialog(true);
        QCOMPARE(ui->modalTitles, (QStringList{QStringLiteral("选项"), QStringLiteral("单位信息")}));
        QCOMPARE(dir->settings.unitCode, QStringLiteral("410199"));
        QCOMPARE(dir->settings.unitName, QStringLiteral("另一单位"));
    }

    void aboutBoxHasNoOwner()
    {
        start();
        QWidget* owner = w.get();
        QString title;
        ui->answerModal([&](QDialog* d) {
            owner = d->parentWidget();
            title = d->windowTitle();
            d->hide();
        });
        w->action(QStringLiteral("M_FileAbout"))->trigger();
        QCOMPARE(owner, nullptr);
        QVERIFY(title.startsWith(QStringLiteral("关于")));
    }

    void startUpForcesTheUnitInformationThenStartsAReport()
    {
        dir->writeCompleteSettings();
        QVERIFY(QFile::remove(dir->file(QStringLiteral("410101.dw"))));
        bool cancelOffered = true;
        ui->answerModal([&](QDialog* d) {
            auto* dialog = static_cast<UnitInfoDialog*>(d);
            cancelOffered = dialog->cancelButton()->isEnabled();
            dialog->textBox(QStringLiteral("Text2"))->setText(QStringLiteral("新的博物馆"));
            dialog->textBox(QStringLiteral("Text27"))->setText(QStringLiteral("李四"));
            dialog->okButton()->click();
        });
        w = std::make_unique<MainWindow>(dir->settings);
        w->start();
        QCOMPARE(ui->texts, QStringList{QStringLiteral("请配置单位信息")});
        QCOMPARE(ui->modalTitles, QStringList{QStringLiteral("单位信息")});
        QVERIFY(!cancelOffered);
        QVERIFY(QFile::exists(dir->file(QStringLiteral("410101.dw"))));
        QCOMPARE(dir->settings.unitName, QStringLiteral("新的博物馆"));
        // The first report follows at once.
        QCOMPARE(w->windowTitle(), QStringLiteral("Vantrel - 未命名"));
        QCOMPARE(w->form()->projectGroup(), 1);
        QVERIFY(saveWithdrawn());
    }

    void unitInformationFromMenuAndToolbar()
    {
        start();
        typeInto(w->form()->lineEdit(QStringLiteral("projectCode")), QStringLiteral("A1"));
        const QByteArray before = dir->readFile(QStringLiteral("410101.dw"));
        // Menu: Cancel saves nothing and starts no new report.
        ui->answerModal([](QDialog* d) { static_cast<UnitInfoDialog*>(d)->cancelButton()->click(); });
        w->action(QStringLiteral("M_ToolCorpInfo"))->trigger();
        // Toolbar button 7: Save stores the unit information; the report stays as it is.
        ui->answerModal([](QDialog* d) {
            auto* dialog = static_cast<UnitInfoDialog*>(d);
            dialog->textBox(QStringLiteral("Text27"))->setText(QStringLiteral("王五"));
            dialog->okButton()->click();
        });
        w->action(QStringLiteral("Toolbar1(7)"))->trigger();
        QCOMPARE(ui->modalTitles, (QStringList{QStringLiteral("单位信息"), QStringLiteral("单位信息")}));
        QVERIFY(dir->readFile(QStringLiteral("410101.dw")) != before);
        QCOMPARE(dir->settings.reportUser, QStringLiteral("王五"));
        QCOMPARE(w->form()->lineEdit(QStringLiteral("projectCode"))->text(), QStringLiteral("A1"));
        QVERIFY(w->controller()->isModified());
        QCOMPARE(w->windowTitle(), QStringLiteral("Vantrel - 未命名"));
    }

    void printUnitInformation()
    {
        start();
        const QString page = dir->file(QStringLiteral("410101.htm"));
        w->action(QStringLiteral("M_ToolCorpInfoPrint"))->trigger();
        QCOMPARE(ui->texts, QStringList{QStringLiteral("未找到相应的HTML文件") + page});
        dir->writeFile(QStringLiteral("410101.htm"), "<html></html>");
        ui->texts.clear();
        w->action(QStringLiteral("M_ToolCorpInfoPrint"))->trigger();
        QCOMPARE(ui->texts, QStringList{QStringLiteral("请在打开的浏览器中进行打印,如果不成功,请用浏览器打开") + page
                                        + QStringLiteral("进行打印")});
        QCOMPARE(ui->browserPaths, QStringList{page});
    }

    void windowHasAFixedSizeAndNoMinimiseOrMaximise()
    {
        start();
        QCOMPARE(w->minimumSize(), w->maximumSize());
        QVERIFY(w->minimumWidth() > 0);
        const Qt::WindowFlags flags = w->windowFlags();
        QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        // Centred and within the screen, whatever the size of the report's pages.
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(screen.contains(w->geometry()));
        QVERIFY(qAbs(w->geometry().center().x() - screen.center().x()) <= 1);
        QCOMPARE(w->centralWidget(), static_cast<QWidget*>(w->form()));
        QCOMPARE(w->form()->objectName(), QStringLiteral("SSTab1"));
    }

    // ---- Menus ----------------------------------------------------------------------------

    void menuTree()
    {
        start();
        struct Item {
            const char* name;
            const char* caption;
            const char* shortcut;
        };
        const std::vector<std::pair<const char*, std::vector<Item>>> tree = {
            {"M_File",
             {{"M_FileNew", "新建(&N)", "Ctrl+N"}, {"M_FileOpen", "打开(&O)", "Ctrl+O"},
              {"M_FileSave", "保存(&S)", "Ctrl+S"}, {"M_FileSaveAs", "另存为...", ""},
              {"M_MenuSeprator1", "", ""}, {"M_FileExport", "导出HTML(&E)...", "Ctrl+E"},
              {"M_FilePrint", "打印(&P)...", ""}, {"M_FilePackage", "打包报送…", ""}, {"M_MenuSeprator2", "", ""},
              {"M_FileAbout", "关于(&A)...", ""}, {"M_FileExit", "退出(&X)", "Ctrl+X"}}},
            {"M_Report", {{"M_ReportType1", "资金需求项目预算情况表", ""}, {"M_ReportType2", "报表2", ""}}},
            {"M_Tool",
             {{"M_ToolCorpInfo", "单位信息(&I)", ""}, {"M_ToolCorpInfoPrint", "打印单位信息(&P)", ""},
              {"M_ToolSeprator", "", ""}, {"M_ToolOption", "选项(&O)...", ""}}},
        };
        const QList<QAction*> top = w->menuBar()->actions();
        QCOMPARE(top.size(), 3);
        const QStringList topCaptions{QStringLiteral("文件(&F)"), QStringLiteral("报表类型(&R)"),
                                      QStringLiteral("档案信息(&T)")};
        for (int m = 0; m < 3; ++m) {
            QCOMPARE(top[m]->objectName(), QString::fromLatin1(tree[m].first));
            QCOMPARE(top[m]->text(), topCaptions[m]);
            const QList<QAction*> items = top[m]->menu()->actions();
            QCOMPARE(items.size(), int(tree[m].second.size()));
            for (int i = 0; i < items.size(); ++i) {
                const Item& expected = tree[m].second[i];
                QCOMPARE(items[i]->objectName(), QString::fromLatin1(expected.name));
                QCOMPARE(items[i]->isSeparator(), *expected.caption == 0);
                if (!items[i]->isSeparator())
                    QCOMPARE(items[i]->text(), QString::fromUtf8(expected.caption));
                QCOMPARE(items[i]->shortcut(), QKeySequence(QString::fromLatin1(expected.shortcut)));
            }
        }
        // Switched off for good; the report type carries its mark.
        for (const char* name : {"M_FileExport", "M_Report", "M_ReportType2"}) {
            QVERIFY2(!w->action(QString::fromLatin1(name))->isEnabled(), name);
            QVERIFY2(!w->action(QString::fromLatin1(name))->isVisible(), name);
        }
        QVERIFY(w->action(QStringLiteral("M_ReportType1"))->isChecked());
        QVERIFY(!w->action(QStringLiteral("M_ReportType2"))->isChecked());
    }

    void reportTypeMarks()
    {
        start();
        QAction* type1 = w->action(QStringLiteral("M_ReportType1"));
        QAction* type2 = w->action(QStringLiteral("M_ReportType2"));
        type2->setEnabled(true);   // only to show that choosing it changes nothing
        type2->trigger();
        QVERIFY(type1->isChecked());
        QVERIFY(!type2->isChecked());
        type1->trigger();
        type1->trigger();
        QVERIFY(type1->isChecked());
        QVERIFY(!type2->isChecked());
    }

    // ---- Toolbar --------------------------------------------------------------------------

    void toolbarButtons()
    {
        start();
        const QList<QAction*> buttons = w->toolbar()->actions();
        QCOMPARE(buttons.size(), 7);
        const QStringList captions{QStringLiteral("新建"), QStringLiteral("打开"), QStringLiteral("保存"),
                                   QStringLiteral("打印"), QString(), QStringLiteral("选项"),
                                   QStringLiteral("单位信息")};
        QList<QImage> pictures;
        for (int i = 0; i < 7; ++i) {
            QCOMPARE(buttons[i]->data().toInt(), i + 1);
            QCOMPARE(buttons[i]->isSeparator(), i == 4);
            if (i == 4)
                continue;
            QCOMPARE(buttons[i]->text(), captions[i]);
            QCOMPARE(buttons[i]->toolTip(), captions[i]);
            const QImage picture = buttons[i]->icon().pixmap(16, 16).toImage();
            QCOMPARE(picture.size(), QSize(16, 16));
            QVERIFY(!pictures.contains(picture));
            pictures << picture;
        }
        QCOMPARE(w->toolbar()->iconSize(), QSize(16, 16));
    }

    void toolbarButtonsRunTheirCommands()
    {
        start();
        // 4: Print of a report never saved.
        w->action(QStringLiteral("Toolbar1(4)"))->trigger();
        QCOMPARE(ui->texts, QStringList{QStringLiteral("请先保存报表再打印")});
        // 2: Open.
        ui->answerOpenFile(std::nullopt);
        w->action(QStringLiteral("Toolbar1(2)"))->trigger();
        QCOMPARE(ui->fileRequests.size(), 1);
        // 1: New asks for the modified report.
        typeInto(w->form()->lineEdit(QStringLiteral("projectCode")), QStringLiteral("A1"));
        ui->answerQuestion(false);
        w->action(QStringLiteral("Toolbar1(1)"))->trigger();
        // 3: Save of a report without name.
        w->action(QStringLiteral("Toolbar1(3)"))->trigger();
        QCOMPARE(ui->texts.last(), QStringLiteral("请输入项目名称"));
        // The separator does nothing; there are no other buttons.
        const int shown = ui->texts.size();
        w->action(QStringLiteral("Toolbar1(5)"))->trigger();
        for (int index : {0, 8, -1})
            QVERIFY(!w->action(QStringLiteral("Toolbar1(%1)").arg(index)));
        QCOMPARE(ui->texts.size(), shown);
        QCOMPARE(ui->fileRequests.size(), 1);
    }

    // ---- Modified state -------------------------------------------------------------------

    void everyKindOfEditOffersSave_data()
    {
        QTest::addColumn<int>("edit");
        QTest::newRow("typing in the project code") << 0;
        QTest::newRow("typing a name") << 1;
        QTest::newRow("choosing a project type") << 2;
        QTest::newRow("choosing a project nature") << 3;
        QTest::newRow("editing a long text") << 4;
    }
    void everyKindOfEditOffersSave()
    {
        QFETCH(int, edit);
        start();
        QVERIFY(saveWithdrawn());
        switch (edit) {
        case 0: typeInto(w->form()->lineEdit(QStringLiteral("projectCode")), QStringLiteral("7")); break;
        case 1: typeInto(w->form()->lineEdit(QStringLiteral("projectName")), QStringLiteral("城")); break;
        case 2: w->form()->list(QStringLiteral("projectType"))->selectItem(1); break;
        case 3: w->form()->list(QStringLiteral("projectNature"))->selectItem(2); break;
        default:
            ui->answerModal([](QDialog* d) {
                auto* editor = static_cast<LongTextEditor*>(d);
                editor->textBox()->setPlainText(QStringLiteral("新的内容"));
                editor->okButton()->click();
            });
            w->form()->longTextButton(3)->click();
            break;
        }
        QVERIFY(saveOffered());
        // Loading a report withdraws it again.
        ui->answerQuestion(true);
        w->controller()->newReport();
        QVERIFY(saveWithdrawn());
    }

    void ctrlSOnACleanReportDoesNothing()
    {
        start();
        activate();
        w->form()->lineEdit(QStringLiteral("projectCode"))->setFocus();
        QTest::keyClick(w->form()->lineEdit(QStringLiteral("projectCode")), Qt::Key_S, Qt::ControlModifier);
        QVERIFY(ui->texts.isEmpty());
        QVERIFY(saveWithdrawn());
        // Once the report is modified the same key saves (and here asks for the name).
        typeInto(w->form()->lineEdit(QStringLiteral("projectCode")), QStringLiteral("A1"));
        QTest::keyClick(w->form()->lineEdit(QStringLiteral("projectCode")), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(ui->texts, QStringList{QStringLiteral("请输入项目名称")});
    }

    void switchedOffShortcutDoesNothing()
    {
        start();
        activate();
        typeInto(w->form()->lineEdit(QStringLiteral("projectCode")), QStringLiteral("A1"));
        QTest::keyClick(w.get(), Qt::Key_E, Qt::ControlModifier);
        QVERIFY(ui->fileRequests.isEmpty());
        QVERIFY(ui->texts.isEmpty());
    }

    void ctrlXCutsInATextBoxAndQuitsElsewhere()
    {
        start();
        activate();
        QLineEdit* code = w->form()->lineEdit(QStringLiteral("projectCode"));
        typeInto(code, QStringLiteral("ABC"));
        code->selectAll();
        QTest::keyClick(code, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(code->text(), QString());
        QVERIFY(w->isVisible());
        QVERIFY(ui->texts.isEmpty());

        QPushButton* button = w->form()->longTextButton(1);
        w->form()->setCurrentWidget(w->form()->widget(0));
        button->setFocus();
        ui->answerQuestion(false);
        QTest::keyClick(button, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(ui->texts, QStringList{QStringLiteral("当前报表还未保存，确定退出吗？")});
        QVERIFY(w->isVisible());
    }

    // ---- Long texts -----------------------------------------------------------------------

    // A pick of the clerk's that would wipe typed amounts asks first; the program's own
    // selections and picks that lose nothing never ask.
    void categoryChangeAsksBeforeWipingAmounts()
    {
        start();
        CodedList* types = w->form()->list(QStringLiteral("projectType"));
        QLineEdit* amount = box(*w->form(), QStringLiteral("Text19(0)"));
        const auto pick = [types](int index) { types->setCurrentIndex(index); emit types->activated(index); };
        const QString question = QStringLiteral("更改项目类别将把已填写的预算金额全部清零，是否继续？");
        amount->setText(QStringLiteral("12"));
        for (const bool modified : {false, true}) {
            if (modified)
                pick(1);                          // 古建维修: same group, no question
            ui->answerQuestion(false);
            pick(18);                             // 遗址保护: another group on the same frame
            QCOMPARE(types->currentIndex(), modified ? 1 : 0);
            QCOMPARE(amount->text(), QStringLiteral("12"));
            QCOMPARE(w->form()->projectGroup(), 1);
            QCOMPARE(w->controller()->isModified(), modified);
        }
        QCOMPARE(ui->questions, QStringList(2, question));
        ui->answerQuestion(true);
        pick(18);
        QCOMPARE(amount->text(), QStringLiteral("0"));
        QCOMPARE(w->form()->projectGroup(), 7);
        amount->setText(QStringLiteral("5"));
        pick(17);                                 // same group: kept, no question
        QCOMPARE(amount->text(), QStringLiteral("5"));
        ui->answerQuestion(true);                 // 当前报表还未保存，确定新建吗？
        w->controller()->newReport();             // loading selects types without asking
        QCOMPARE(types->currentIndex(), 0);
        QCOMPARE(ui->questions.count(question), 3);
    }

    void longTextEditor_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("leave");   // 0 OK, 1 Cancel, 2 close box
        QTest::addColumn<QString>("caption");
        const QStringList captions{QStringLiteral("\"九五\"以来主要保护内容"), QStringLiteral("现存主要问题"),
                                   QStringLiteral("\"十一五\"项目主要内容"), QStringLiteral("备注")};
        const char* ways[] = {"OK", "Cancel", "close box"};
        for (int b = 0; b < 4; ++b)
            for (int leave = 0; leave < 3; ++leave)
                QTest::newRow(qPrintable(QStringLiteral("Command%1 %2").arg(b + 1).arg(QLatin1String(ways[leave]))))
                    << b << leave << captions[b];
    }
    void longTextEditor()
    {
        QFETCH(int, button);
        QFETCH(int, leave);
        QFETCH(QString, caption);
        start();
        const QString field = ReportForm::longTextField(button);
        const QString before = QStringLiteral("第一行\n第二行\n\n  第四行  ");
        setLongText(*w->form(), button, before);
        const QString edited = QStringLiteral("新一行\n新二行");
        QString shownText, shownCaption;
        ui->answerModal([&](QDialog* d) {
            auto* editor = static_cast<LongTextEditor*>(d);
            shownText = editor->textBox()->toPlainText();
            shownCaption = editor->windowTitle();
            editor->textBox()->setPlainText(edited);
            if (leave == 0)
                editor->okButton()->click();
            else if (leave == 1)
                editor->cancelButton()->click();
            else
                editor->close();
        });
        w->form()->longTextButton(button)->click();
        QCOMPARE(ui->modalTitles.size(), 1);
        QCOMPARE(shownCaption, QStringLiteral("输入") + caption);
        QCOMPARE(shownText, before);
        QCOMPARE(w->form()->value(field), leave == 0 ? edited : before);
        QCOMPARE(w->controller()->isModified(), leave == 0);
        QVERIFY(!w->textEditor()->isVisible());
    }

    void longTextOkWithoutChangeIsNoEdit()
    {
        start();
        setLongText(*w->form(), 0, QStringLiteral("旧文本"));
        ui->answerModal([](QDialog* d) { static_cast<LongTextEditor*>(d)->okButton()->click(); });
        w->editLongText(0);
        QCOMPARE(w->form()->value(ReportForm::longTextField(0)), QStringLiteral("旧文本"));
        QVERIFY(saveWithdrawn());
    }

    void eachButtonShowsItsOwnTextAndCaption()
    {
        start();
        setLongText(*w->form(), 0, QStringLiteral("一号"));
        setLongText(*w->form(), 1, QString());
        QStringList seen;
        const auto look = [&seen](QDialog* d) {
            auto* editor = static_cast<LongTextEditor*>(d);
            seen << editor->windowTitle() + QLatin1Char('|') + editor->textBox()->toPlainText();
            editor->cancelButton()->click();
        };
        ui->answerModal(look);
        ui->answerModal(look);
        w->editLongText(0);
        w->editLongText(1);
        QCOMPARE(seen, (QStringList{QStringLiteral("输入\"九五\"以来主要保护内容|一号"),
                                    QStringLiteral("输入现存主要问题|")}));
        // An empty editor confirmed stores an empty text.
        ui->answerModal([](QDialog* d) { static_cast<LongTextEditor*>(d)->okButton()->click(); });
        setLongText(*w->form(), 3, QString());
        w->editLongText(3);
        QCOMPARE(w->form()->value(ReportForm::longTextField(3)), QString());
        QVERIFY(saveWithdrawn());
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
